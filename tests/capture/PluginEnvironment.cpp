// Makes sure the virtual camera's plugin is loaded even when the test runner did not put its folder on
// GST_PLUGIN_PATH: the plugin folder of this build is scanned once before the first test.
#include <gst/gst.h>

#include <gtest/gtest.h>

namespace
{

class PluginEnvironment final : public testing::Environment
{
public:
    void SetUp() override
    {
        GstRegistry *registry = gst_registry_get();
        GstPluginFeature *provider = gst_registry_lookup_feature(registry, "pixolotestcamprovider");
        if (provider) {
            gst_object_unref(provider);
            return;
        }
        gst_registry_scan_path(registry, PIXOLO_PLUGIN_DIR);
        provider = gst_registry_lookup_feature(registry, "pixolotestcamprovider");
        ASSERT_NE(provider, nullptr) << "the virtual camera's plugin is not in " PIXOLO_PLUGIN_DIR;
        gst_object_unref(provider);
    }
};

[[maybe_unused]] testing::Environment *const environment = testing::AddGlobalTestEnvironment(new PluginEnvironment);

} // namespace
