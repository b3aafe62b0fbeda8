#include "planning/module_loader.h"

#include <gtest/gtest.h>

#include "probe_interface.h"

namespace linkcalc::planning {
namespace {

struct OtherInterface {
    static constexpr const char* kInterfaceName = "other/1";
};

TEST(ModuleLoaderTest, OpensAModuleOnceAndFindsItsInterface) {
    const ProbeInterface& probe = LoadModule<ProbeInterface>("probe");
    EXPECT_EQ(probe.Answer(), 42);
    EXPECT_EQ(&LoadModule<ProbeInterface>("probe"), &probe);
}

TEST(ModuleLoaderTest, AMissingModuleIsNamedWithTheLoadersReason) {
    try {
        LoadModule<ProbeInterface>("absent");
        FAIL() << "no error";
    } catch (const ModuleError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("cannot load the absent module: "), std::string::npos) << message;
        EXPECT_NE(message.find("liblinkcalc-absent.so"), std::string::npos) << message;
    }
}

TEST(ModuleLoaderTest, AnInterfaceTheModuleDoesNotOfferIsAnError) {
    try {
        LoadModule<OtherInterface>("probe");
        FAIL() << "no error";
    } catch (const ModuleError& error) {
        EXPECT_STREQ(error.what(), "the probe module does not offer other/1");
    }
}

}  // namespace
}  // namespace linkcalc::planning
