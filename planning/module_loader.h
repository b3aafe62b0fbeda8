#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace linkcalc::planning {

// A feature module that cannot be loaded: its file is missing, a library it needs is missing,
// or it does not offer the interface asked for. The message names the module and the reason.
class ModuleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Heavy libraries (GeographicLib, libxml2, GDAL, cairo) live in modules that are opened on
// first use, so a plain run starts without loading them. A module is a shared object
// liblinkcalc-NAME.so in the module folder beside the program; it exports
//   extern "C" const void* linkcalc_module_interface(const char* interfaceName);
// which returns its implementation of that interface, or null.
const void* ModuleInterface(std::string_view module, std::string_view interfaceName);

// The module folder: LINKCALC_MODULE_DIR relative to the folder of the running program.
std::string ModuleFolder();

template <class Interface>
const Interface& LoadModule(std::string_view module) {
    return *static_cast<const Interface*>(ModuleInterface(module, Interface::kInterfaceName));
}

}  // namespace linkcalc::planning

// Defines the entry of a module that implements one interface with one object.
#define LINKCALC_MODULE_IMPLEMENTS(Interface, object)                                        \
    extern "C" __attribute__((visibility("default"))) const void* linkcalc_module_interface( \
        const char* interfaceName) {                                                         \
        return std::string_view(interfaceName) == Interface::kInterfaceName                  \
                   ? static_cast<const Interface*>(&(object))                                \
                   : nullptr;                                                                \
    }
