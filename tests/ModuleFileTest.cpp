// The built module file, loaded as the host loads it: through dlopen and the
// one exported symbol `_mod_descrip`, nothing else.

#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/CameraRecords.h"
#include "host/ModuleDescriptor.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/RecordingPanel.h"

namespace {

using ::testing::ElementsAre;
using testhost::DrawingCall;
using testhost::FloatStream;
using testhost::RecordingHost;
using testhost::RecordingPanel;

std::string RunCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return {};
    std::string output;
    char buffer[4096];
    while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, read);
    return output;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

class ModuleFile : public ::testing::Test {
protected:
    void SetUp() override {
        library = dlopen(TARVELIN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        descriptor = static_cast<const host::ModuleDescriptor*>(dlsym(library, "_mod_descrip"));
        ASSERT_NE(descriptor, nullptr) << dlerror();
    }
    void TearDown() override {
        if (library != nullptr) dlclose(library);
    }

    const host::ServerEntry* FindServer(const std::string& className) const {
        for (const host::ServerEntry* entry = descriptor->servers; entry->className != nullptr; ++entry) {
            if (className == entry->className && std::string(entry->serverName) == "TarvelinCamera0.1.5") {
                return entry;
            }
        }
        return nullptr;
    }

    void* library = nullptr;
    const host::ModuleDescriptor* descriptor = nullptr;
};

TEST_F(ModuleFile, ExportsOnlyTheModuleDescriptor) {
    const std::string symbols =
        RunCommand("nm -D --defined-only --format=posix '" TARVELIN_MODULE_PATH "' | cut -d' ' -f1");
    EXPECT_THAT(Lines(symbols), ElementsAre("_mod_descrip"));
}

TEST_F(ModuleFile, DescriptorAndServersAreWhatTheHostLooksFor) {
    EXPECT_EQ(descriptor->syncWord, host::kModuleSyncWord);
    EXPECT_EQ(descriptor->version, host::kModuleDescriptorVersion);
    EXPECT_EQ(descriptor->machine, host::kModuleMachineWord);
    EXPECT_EQ(descriptor->startup(), 4u);

    std::vector<std::string> servers;
    for (const host::ServerEntry* entry = descriptor->servers; entry->className != nullptr; ++entry) {
        servers.push_back(std::string(entry->className) + "/" + entry->serverName);
        EXPECT_EQ(entry->tags, nullptr);
    }
    EXPECT_THAT(servers, ElementsAre("CameraHandler/TarvelinCamera0.1.5", "CameraInterface/TarvelinCamera0.1.5"));
    descriptor->shutdown();
}

TEST_F(ModuleFile, LensOperationsThroughTheHandlerRecord) {
    RecordingHost fakeHost;
    ASSERT_EQ(descriptor->startup(), 4u);
    host::InstanceOperations operations{};
    host::CameraHandlerRecord handler{&operations, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    ASSERT_EQ(FindServer(host::kCameraHandlerClass)
                  ->activate(host::kCameraHandlerVersion, RecordingHost::lookup(), &handler, nullptr),
              host::kActivated);
    ASSERT_NE(handler.setupFrame, nullptr);
    ASSERT_NE(handler.evaluateRay, nullptr);
    ASSERT_NE(handler.preview, nullptr);

    const char* error = nullptr;
    void* camera = operations.create(operations.privateData, fakeHost.cameraItem, &error);
    ASSERT_NE(camera, nullptr) << error;
    // Zoom 2, shifts 0.5 and 0.25 on a 0.03 × 0.02 film, focus 2 at f/4, at (10, 1, −3).
    const double settings[] = {2.0, 0.5, 0.25, 0.0, 0.0};
    for (int i = 0; i < 5; ++i) fakeHost.parameters[static_cast<std::size_t>(i)]->value = settings[i];
    fakeHost.camera.position = {10, 1, -3};
    host::CameraAccess access{};
    access.cameraItem = fakeHost.cameraItem;
    access.filmWidth = 0.03;
    access.filmHeight = 0.02;
    host::FrameSetup frame{};
    frame.motionSteps = 1;
    frame.duration = 0.02;

    ASSERT_EQ(handler.setupFrame(camera, &frame, &access), nullptr);
    host::CameraRay ray{};
    ASSERT_EQ(handler.evaluateRay(camera, -0.015, -0.005, 0.0, 0.0, 0.5, &ray), 1);
    EXPECT_THAT(ray.origin, ElementsAre(10.0, 1.0, -3.0));
    EXPECT_THAT(ray.direction, ElementsAre(0.0, 0.0, 1.0));
    EXPECT_THAT(ray.forwardAxis, ElementsAre(0.0, 0.0, 1.0));
    // Film point (0.01, 0) is sharp at (12.5, 1.5, −1), whichever lens point the ray leaves from.
    ASSERT_EQ(handler.evaluateRay(camera, 0.01, 0.0, 1.0, 0.0, 1.0, &ray), 1);
    EXPECT_DOUBLE_EQ(ray.origin[0], 10.0025);
    const double t = (-1.0 - ray.origin[2]) / ray.direction[2];
    EXPECT_NEAR(ray.origin[0] + t * ray.direction[0], 12.5, 1e-12);
    EXPECT_NEAR(ray.origin[1] + t * ray.direction[1], 1.5, 1e-12);

    double projection[4][4] = {};
    EXPECT_EQ(handler.preview(camera, 0.0, 0.0, projection, &access), 1);
    EXPECT_DOUBLE_EQ(projection[0][0], 0.02);
    EXPECT_EQ(projection[2][3], -1.0);

    operations.destroy(camera);
    EXPECT_THAT(fakeHost.faults, ::testing::IsEmpty());
    descriptor->shutdown();
}

TEST_F(ModuleFile, ActivatedCameraLivesThroughTheHandlerRecord) {
    RecordingHost fakeHost;
    ASSERT_EQ(descriptor->startup(), 4u);
    const host::ServerEntry* handlerServer = FindServer(host::kCameraHandlerClass);
    ASSERT_NE(handlerServer, nullptr);

    host::InstanceOperations operations{};
    host::CameraHandlerRecord handler{&operations, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(handlerServer->activate(1, RecordingHost::lookup(), &handler, nullptr), host::kBadVersion);
    ASSERT_EQ(handlerServer->activate(host::kCameraHandlerVersion, RecordingHost::lookup(), &handler, nullptr),
              host::kActivated);
    ASSERT_NE(operations.create, nullptr);
    ASSERT_NE(handler.flags, nullptr);

    const char* error = nullptr;
    void* camera = operations.create(operations.privateData, fakeHost.cameraItem, &error);
    ASSERT_NE(camera, nullptr) << error;
    void* other = operations.create(operations.privateData, fakeHost.cameraItem, &error);
    ASSERT_NE(other, nullptr) << error;
    EXPECT_EQ(fakeHost.liveParameterCount(), 10);
    EXPECT_EQ(handler.flags(camera), 1u);
    EXPECT_STREQ(operations.describe(camera), "OrrenCamera");
    EXPECT_EQ(operations.copy(other, camera), nullptr);

    FloatStream stream;
    const host::SaveState saveState = stream.saveState();
    EXPECT_EQ(operations.save(camera, &saveState), nullptr);
    const host::LoadState loadState = stream.loadState();
    EXPECT_EQ(operations.load(other, &loadState), nullptr);
    EXPECT_EQ(stream.readPosition, stream.floats.size());

    operations.destroy(camera);
    operations.destroy(other);
    EXPECT_EQ(fakeHost.liveParameterCount(), 0);
    EXPECT_THAT(fakeHost.faults, ::testing::IsEmpty());
    descriptor->shutdown();
}

TEST_F(ModuleFile, InterfaceServerBuildsThePanelOfACamera) {
    RecordingHost fakeHost;
    RecordingPanel fakePanel(fakeHost);
    fakePanel.InstallInstanceUpdate();
    const host::ServerEntry* handlerServer = FindServer(host::kCameraHandlerClass);
    const host::ServerEntry* interfaceServer = FindServer(host::kCameraInterfaceClass);
    ASSERT_NE(handlerServer, nullptr);
    ASSERT_NE(interfaceServer, nullptr);
    host::InstanceOperations operations{};
    host::CameraHandlerRecord handler{&operations, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    ASSERT_EQ(handlerServer->activate(host::kCameraHandlerVersion, RecordingHost::lookup(), &handler, nullptr),
              host::kActivated);
    const char* error = nullptr;
    void* camera = operations.create(operations.privateData, fakeHost.cameraItem, &error);
    ASSERT_NE(camera, nullptr) << error;
    fakeHost.clearCalls();

    host::CameraInterfaceRecord interface{camera, nullptr, nullptr, nullptr};
    EXPECT_EQ(interfaceServer->activate(5, RecordingHost::lookup(), &interface, nullptr), host::kBadVersion);
    ASSERT_EQ(interfaceServer->activate(host::kCameraInterfaceVersion, RecordingHost::lookup(), &interface, nullptr),
              host::kActivated);

    EXPECT_THAT(fakeHost.calls,
                ElementsAre("lookup(Instance Update,0)", "lookup(LWXPanel,0)", "panel.create(1)",
                            "panel.describe(panel)", "panel.hint(panel,0)", "panel.viewInstance(panel)",
                            "panel.setData(panel,0)"));
    EXPECT_EQ(interface.panel, fakePanel.panel());
    EXPECT_EQ(fakePanel.viewedInstance, camera);
    ASSERT_NE(fakePanel.controls, nullptr);
    EXPECT_STREQ(fakePanel.controls[0].label, "Zoom Factor");
    EXPECT_EQ(fakePanel.controls[7].id, 0u);
    ASSERT_NE(fakePanel.dataDescription, nullptr);
    EXPECT_STREQ(fakePanel.dataDescription[5].valueType, "angle-env");
    ASSERT_NE(fakePanel.hints, nullptr);
    std::vector<host::PanelWord> hints(fakePanel.hints, fakePanel.hints + 62);
    EXPECT_EQ(hints[0], 0x3D01FE81u);
    EXPECT_EQ(hints[58], 0x3D016502u);
    EXPECT_EQ(hints[61], 0u);

    // The host edits the tilt through the set function and draws the diagram
    // through the drawing hint's callback.
    double tilt = 0.39269908169872414;  // π/8
    ASSERT_NE(fakePanel.setFunction, nullptr);
    EXPECT_EQ(fakePanel.setFunction(camera, 0x8006, &tilt), 1);
    EXPECT_THAT(fakePanel.updatedInstances, ElementsAre(camera));
    auto* area = reinterpret_cast<host::DrawingArea>(0xA2EA);
    reinterpret_cast<host::PanelDrawFunction>(hints[60])(fakePanel.panel(), 0x8007, area);
    ASSERT_EQ(fakePanel.drawing.size(), 76u);
    EXPECT_EQ(fakePanel.drawing.back(), (DrawingCall{"box", area, {255, 100, 100, 38, 13, 5, 5}}));
    ASSERT_NE(fakePanel.getFunction, nullptr);
    EXPECT_STREQ(static_cast<const char*>(fakePanel.getFunction(camera, 0x8002)), "Focal Length 0.0mm");

    operations.destroy(camera);
    EXPECT_THAT(fakeHost.faults, ::testing::IsEmpty());
}

}  // namespace
