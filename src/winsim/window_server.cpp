#include "window_server.h"

#include "ipc/ipc_server_walk.h"
#include "ipc/ipc_wire.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vantrel {

namespace {

WindowServer* g_server = nullptr;

} // namespace

WindowServer::WindowServer(OffsetSpace& space) : space_(space) {
    g_server = this;
}

WindowServer::~WindowServer() {
    for (HWND window : windows_)
        DestroyWindow(window);
    g_server = nullptr;
}

bool WindowServer::Start(const std::vector<std::string>& window_classes, std::string& reason) {
    message_ = RegisterWindowMessageA("FsasmLib:IPC");
    if (message_ == 0) {
        reason = "cannot register the message";
        return false;
    }
    for (const std::string& name : window_classes) {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = &WindowServer::Procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = name.c_str();
        if (RegisterClassA(&window_class) == 0) {
            reason = "cannot register the window class " + name;
            return false;
        }
        // Top-level (no parent, not message-only) so that FindWindowExA finds it; never shown.
        HWND window =
            CreateWindowExA(0, name.c_str(), "vantrel-winsim", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 200, 100, nullptr, nullptr, window_class.hInstance, nullptr);
        if (window == nullptr) {
            reason = "cannot create the " + name + " window (error " + std::to_string(GetLastError()) + ")";
            return false;
        }
        windows_.push_back(window);
    }
    return true;
}

LRESULT CALLBACK WindowServer::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (g_server != nullptr && message != 0 && message == g_server->message_)
        return g_server->Serve(ATOM(wparam));
    if (g_server != nullptr && message == kCommandMessage) {
        std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(lparam));
        if (g_server->on_command != nullptr) {
            const std::string reply = g_server->on_command(*g_server, *line);
            std::printf("%s\n", reply.c_str());
            std::fflush(stdout);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT WindowServer::Serve(ATOM atom) {
    ++requests_;
    if (stall_armed_) {
        stall_armed_ = false;
        std::printf("hanging before the read\n");
        std::fflush(stdout);
        WaitForSingleObject(resume_, stall_ms_);
    }
    char name[256] = {};
    const char prefix[] = "FsasmLib:IPC:";
    bool served = false;
    if (GlobalGetAtomNameA(atom, name, sizeof name) != 0 &&
        std::strncmp(name, prefix, sizeof prefix - 1) == 0) {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
        if (mapping != nullptr) {
            void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, ipc::kBlockSize);
            if (view != nullptr) {
                static std::array<std::uint8_t, ipc::kUsableSize> copy;
                std::memcpy(copy.data(), view, copy.size());
                served = ServeBlock(copy.data(), copy.size(), space_);
                if (served) std::memcpy(view, copy.data(), copy.size());
                UnmapViewOfFile(view);
                if (served && CountWrites(copy.data())) {
                    hang_armed_ = false;
                    std::printf("hanging after the write\n");
                    std::fflush(stdout);
                    WaitForSingleObject(resume_, hang_ms_);
                }
            }
            CloseHandle(mapping);
        }
    }
    if (!served) ++refused_;
    return served ? 1 : 0;
}

void WindowServer::HangAfterWrite(std::uint32_t offset, DWORD ms, HANDLE resume) {
    hang_armed_ = true;
    hang_offset_ = offset;
    hang_ms_ = ms;
    resume_ = resume;
}

void WindowServer::HangBeforeRead(DWORD ms, HANDLE resume) {
    stall_armed_ = true;
    stall_ms_ = ms;
    resume_ = resume;
}

unsigned WindowServer::WritesTo(std::uint32_t offset) const {
    const auto found = writes_.find(offset);
    return found == writes_.end() ? 0 : found->second;
}

bool WindowServer::CountWrites(const std::uint8_t* block) {
    bool hang = false;
    // The block has passed ServeBlock's checks: every record lies inside it.
    for (std::size_t at = 0;;) {
        const std::uint32_t id = ipc::LoadU32(block + at);
        if (id != ipc::kReadRecord && id != ipc::kWriteRecord) break;
        const std::uint32_t offset = ipc::LoadU32(block + at + 4), size = ipc::LoadU32(block + at + 8);
        if (id == ipc::kWriteRecord) {
            ++writes_[offset];
            hang = hang || (hang_armed_ && offset == hang_offset_);
        }
        at += (id == ipc::kReadRecord ? ipc::kReadHeaderSize : ipc::kWriteHeaderSize) + size;
    }
    return hang;
}

} // namespace vantrel
