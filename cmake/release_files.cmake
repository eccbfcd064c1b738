# What every download carries beside the program: the licence, the bundled components'
# licences, the changes of each release and the pilot's guide as README.md (the guide's
# pictures in help/images/, the same the PDF in help/ shows).
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/THIRD-PARTY.md ${CMAKE_SOURCE_DIR}/CHANGELOG.md
        DESTINATION .)
install(FILES ${VANTREL_GUIDE_README} DESTINATION . RENAME README.md)

# The installer's licence page: the components' notice first, then the licence's full text.
set(VANTREL_LICENCE_PAGE ${CMAKE_BINARY_DIR}/licence-page.txt)
file(READ ${CMAKE_SOURCE_DIR}/THIRD-PARTY.md _third_party)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE _licence)
file(WRITE ${VANTREL_LICENCE_PAGE} "${_third_party}\n\n${_licence}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/THIRD-PARTY.md ${CMAKE_SOURCE_DIR}/LICENSE)
