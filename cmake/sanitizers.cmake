# A whole build under one sanitizer, for the sanitizer stages of ./test (GCC or clang; see
# scripts/sanitizer-stages.sh). VANTREL_FUZZ builds under AddressSanitizer and UBSan already.
#   thread   ThreadSanitizer
#   address  AddressSanitizer with UndefinedBehaviorSanitizer, any undefined behaviour fatal
set(VANTREL_SANITIZE "" CACHE STRING "Build everything under a sanitizer: thread or address")
if(VANTREL_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=thread)
elseif(VANTREL_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
elseif(VANTREL_SANITIZE)
  message(FATAL_ERROR "VANTREL_SANITIZE must be thread or address, not ${VANTREL_SANITIZE}")
endif()
