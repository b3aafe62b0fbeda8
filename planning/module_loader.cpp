#include "planning/module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace linkcalc::planning {
namespace {

std::string ProgramFolder() {
    std::vector<char> path(4096);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) {
            throw ModuleError(std::string("cannot find the program's folder: /proc/self/exe: ") +
                              std::strerror(errno));
        }
        if (static_cast<std::size_t>(length) < path.size()) {
            std::string folder(path.data(), static_cast<std::size_t>(length));
            return folder.substr(0, folder.rfind('/'));
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::string ModuleFolder() {
    return ProgramFolder() + "/" + LINKCALC_MODULE_DIR;
}

const void* ModuleInterface(std::string_view module, std::string_view interfaceName) {
    static std::mutex mutex;
    static std::map<std::string, void*, std::less<>> opened;  // never closed: cheap, and safe
    const std::lock_guard lock(mutex);

    const std::string name(module);
    auto found = opened.find(name);
    if (found == opened.end()) {
        const std::string path = ModuleFolder() + "/liblinkcalc-" + name + ".so";
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* reason = dlerror();
            throw ModuleError("cannot load the " + name +
                              " module: " + (reason != nullptr ? reason : path));
        }
        found = opened.emplace(name, handle).first;
    }
    using Entry = const void* (*)(const char*);
    const auto entry = reinterpret_cast<Entry>(dlsym(found->second, "linkcalc_module_interface"));
    const void* implementation =
        entry != nullptr ? entry(std::string(interfaceName).c_str()) : nullptr;
    if (implementation == nullptr) {
        throw ModuleError("the " + name + " module does not offer " + std::string(interfaceName));
    }
    return implementation;
}

}  // namespace linkcalc::planning
