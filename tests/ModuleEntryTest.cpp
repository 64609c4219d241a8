// The module descriptor, the server table and the camera handler's activation.

#include <cctype>
#include <cstring>

#include "lens/LensOperations.h"
#include "module/ModuleEntry.h"
#include "panel/CameraInterface.h"
#include "tests/support/ModuleFixture.h"

namespace {

using testhost::ModuleFixture;
using testhost::RecordingHost;

const std::vector<std::string> kHandlerLookups = {
    "lookup(LWVParmFuncs 2,0)",       "lookup(LW Item Info 4,0)", "lookup(Animation Envelopes,0)",
    "lookup(LW Time Info,0)",         "lookup(LW Camera Info 5,0)",
};

TEST(ModuleDescriptor, HoldsTheHostsWordsAndTheEntryPoints) {
    EXPECT_EQ(_mod_descrip.syncWord, 0x04121994u);
    EXPECT_EQ(_mod_descrip.version, 3u);
    EXPECT_EQ(_mod_descrip.machine, 0x300u);
    ASSERT_NE(_mod_descrip.startup, nullptr);
    EXPECT_EQ(_mod_descrip.startup(), 4u);
    EXPECT_EQ(_mod_descrip.shutdown, &tarvelin::ModuleShutdown);
    EXPECT_EQ(_mod_descrip.servers, tarvelin::serverTable);
}

TEST(ModuleDescriptor, ServerTableListsTheTwoServersThenAnAllZeroEntry) {
    const host::ServerEntry* servers = _mod_descrip.servers;
    EXPECT_STREQ(servers[0].className, "CameraHandler");
    EXPECT_STREQ(servers[0].serverName, "TarvelinCamera0.1.5");
    EXPECT_EQ(servers[0].activate, &tarvelin::ActivateCameraHandler);
    EXPECT_EQ(servers[0].tags, nullptr);
    EXPECT_STREQ(servers[1].className, "CameraInterface");
    EXPECT_STREQ(servers[1].serverName, "TarvelinCamera0.1.5");
    EXPECT_EQ(servers[1].activate, &tarvelin::ActivateCameraInterface);
    EXPECT_EQ(servers[1].tags, nullptr);
    const host::ServerEntry zero{};
    EXPECT_EQ(std::memcmp(&servers[2], &zero, sizeof zero), 0);
}

TEST(ModuleDescriptor, FlagsAreOneForEveryInstance) {
    int anything = 0;
    EXPECT_EQ(tarvelin::CameraFlags(nullptr), 1u);
    EXPECT_EQ(tarvelin::CameraFlags(&anything), 1u);
}

class HandlerActivation : public ModuleFixture {};

TEST_F(HandlerActivation, WrongVersionTouchesNothing) {
    // Earlier values, as a previous activation would have left them.
    tarvelin::pi = 3.0;
    const int marker = 0;
    tarvelin::HostServices.itemInfo = reinterpret_cast<const host::ItemInfoService*>(&marker);
    const tarvelin::HostServiceTable before = tarvelin::HostServices;

    for (int version : {1, 3, 0, -2}) {
        SCOPED_TRACE(version);
        EXPECT_EQ(ActivateHandler(version), host::kBadVersion);
        EXPECT_EQ(tarvelin::pi, 3.0);
        EXPECT_EQ(std::memcmp(&tarvelin::HostServices, &before, sizeof before), 0);
        EXPECT_EQ(operations.create, nullptr);
        EXPECT_EQ(handler.flags, nullptr);
        EXPECT_EQ(handler.evaluateRay, nullptr);
    }
    EXPECT_THAT(fakeHost.calls, ::testing::IsEmpty());
}

TEST_F(HandlerActivation, FillsTheInstanceOperationsLensOperationsAndFlags) {
    auto* hostWord1 = reinterpret_cast<void*>(0x11);
    auto* hostWord2 = reinterpret_cast<void*>(0x22);
    handler.hostWord1 = hostWord1;
    handler.hostWord2 = hostWord2;
    host::InstanceOperations* givenOperations = handler.instanceOperations;

    ASSERT_EQ(ActivateHandler(), host::kActivated);

    EXPECT_EQ(fakeHost.calls, kHandlerLookups);
    EXPECT_EQ(tarvelin::pi, 3.141592653589793);
    EXPECT_EQ(tarvelin::HostServices.globalLookup, RecordingHost::lookup());
    EXPECT_EQ(tarvelin::HostServices.parameterService, &fakeHost.parameterService);
    EXPECT_EQ(tarvelin::HostServices.itemInfo, &fakeHost.itemInfo);
    EXPECT_EQ(tarvelin::HostServices.envelopeService, &fakeHost.envelopeService);
    EXPECT_EQ(tarvelin::HostServices.timeInfo, &fakeHost.timeInfo);
    EXPECT_EQ(tarvelin::HostServices.cameraInfo, &fakeHost.cameraInfo);

    EXPECT_EQ(handler.instanceOperations, givenOperations);
    EXPECT_EQ(operations.privateData, reinterpret_cast<void*>(RecordingHost::lookup()));
    EXPECT_EQ(operations.create, &tarvelin::CreateInstance);
    EXPECT_EQ(operations.destroy, &tarvelin::DestroyInstance);
    EXPECT_EQ(operations.copy, &tarvelin::CopyInstance);
    EXPECT_EQ(operations.load, &tarvelin::LoadInstance);
    EXPECT_EQ(operations.save, &tarvelin::SaveInstance);
    EXPECT_EQ(operations.describe, &tarvelin::DescribeInstance);
    EXPECT_EQ(handler.hostWord1, hostWord1);
    EXPECT_EQ(handler.hostWord2, hostWord2);
    EXPECT_EQ(handler.preview, &tarvelin::PreviewProjection);
    EXPECT_EQ(handler.setupFrame, &tarvelin::SetupFrame);
    EXPECT_EQ(handler.evaluateRay, &tarvelin::EvaluateRay);
    EXPECT_EQ(handler.flags, &tarvelin::CameraFlags);
}

struct MissingServiceCase {
    const char* service;
    int expectedStatus;
    friend void PrintTo(const MissingServiceCase& missing, std::ostream* out) { *out << missing.service; }
};

class HandlerActivationWithoutService : public ModuleFixture,
                                        public ::testing::WithParamInterface<MissingServiceCase> {};

TEST_P(HandlerActivationWithoutService, LooksUpAllFiveAndStoresEachResult) {
    const MissingServiceCase& missing = GetParam();
    fakeHost.missingServices.insert(missing.service);

    EXPECT_EQ(ActivateHandler(), missing.expectedStatus);

    EXPECT_EQ(fakeHost.calls, kHandlerLookups);
    EXPECT_EQ(tarvelin::pi, 3.141592653589793);
    const tarvelin::HostServiceTable& services = tarvelin::HostServices;
    const std::string name = missing.service;
    EXPECT_EQ(services.parameterService == nullptr, name == host::kParameterServiceName);
    EXPECT_EQ(services.itemInfo == nullptr, name == host::kItemInfoName);
    EXPECT_EQ(services.envelopeService == nullptr, name == host::kEnvelopeServiceName);
    EXPECT_EQ(services.timeInfo == nullptr, name == host::kTimeInfoName);
    EXPECT_EQ(services.cameraInfo == nullptr, name == host::kCameraInfoName);

    const bool activated = missing.expectedStatus == host::kActivated;
    EXPECT_EQ(operations.create != nullptr, activated);
    EXPECT_EQ(operations.privateData != nullptr, activated);
    EXPECT_EQ(handler.flags != nullptr, activated);
}

INSTANTIATE_TEST_SUITE_P(
    EachService, HandlerActivationWithoutService,
    ::testing::Values(MissingServiceCase{host::kParameterServiceName, host::kServiceMissing},
                      MissingServiceCase{host::kItemInfoName, host::kServiceMissing},
                      MissingServiceCase{host::kEnvelopeServiceName, host::kServiceMissing},
                      MissingServiceCase{host::kTimeInfoName, host::kServiceMissing},
                      // The camera service is optional: cameras fall back without it.
                      MissingServiceCase{host::kCameraInfoName, host::kActivated}),
    [](const ::testing::TestParamInfo<MissingServiceCase>& info) {
        std::string name;
        for (const char* c = info.param.service; *c != '\0'; ++c) {
            if (std::isalnum(static_cast<unsigned char>(*c)) != 0) name += *c;
        }
        return name;
    });

}  // namespace
