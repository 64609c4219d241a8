#include "tests/support/RecordingHost.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <stdexcept>

namespace testhost {

namespace {

RecordingHost* active = nullptr;

std::string Format(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

void Record(const std::string& call) {
    RecordingHost& fake = ActiveHost();
    if (!fake.inParameterBlock) fake.calls.push_back(call);
}

// The parameter service's own use of the scene stream is not the module's
// call, so it stays out of the log.
struct ParameterBlockScope {
    ParameterBlockScope() { ActiveHost().inParameterBlock = true; }
    ~ParameterBlockScope() { ActiveHost().inParameterBlock = false; }
};

std::string Name(host::ParameterHandle handle) { return "#" + std::to_string(ActiveHost().parameter(handle).index); }

void* Lookup(const char* name, int mode) {
    RecordingHost& fake = ActiveHost();
    Record(std::string("lookup(") + name + "," + std::to_string(mode) + ")");
    if (fake.missingServices.count(name) != 0) return nullptr;
    const std::string service = name;
    if (service == host::kTimeInfoName) return &fake.timeInfo;
    if (service == host::kItemInfoName) return &fake.itemInfo;
    if (service == host::kCameraInfoName) return &fake.cameraInfo;
    if (service == host::kParameterServiceName) return &fake.parameterService;
    if (service == host::kEnvelopeServiceName) return &fake.envelopeService;
    if (service == host::kInstanceUpdateName) return reinterpret_cast<void*>(fake.instanceUpdate);
    if (service == host::kPanelServiceName) return fake.panelService;
    return nullptr;
}

host::ChannelGroupId ChannelGroup(host::ItemId item) {
    Record("channelGroup");
    return ActiveHost().channelGroupOf(item);
}

std::string ItemName(host::ItemId item) { return item == ActiveHost().cameraItem ? "camera" : "other"; }

double ZoomFactor(host::ItemId item, double time) {
    Record("zoomFactor(" + ItemName(item) + "," + Format(time) + ")");
    return ActiveHost().cameraZoomFactor;
}

void ItemVector(host::ItemId item, int code, double time, double out[3]) {
    Record("itemVector(" + ItemName(item) + "," + std::to_string(code) + "," + Format(time) + ")");
    const RecordingHost::Camera& camera = ActiveHost().camera;
    switch (code) {
        case host::kItemWorldPosition:
            for (int i = 0; i < 3; ++i) out[i] = camera.position[i] + camera.velocity[i] * time;
            return;
        case host::kItemRightAxis: std::copy_n(camera.right.begin(), 3, out); return;
        case host::kItemUpAxis: std::copy_n(camera.up.begin(), 3, out); return;
        case host::kItemForwardAxis: std::copy_n(camera.forward.begin(), 3, out); return;
        default: ActiveHost().faults.push_back("item vector code " + std::to_string(code));
    }
}

double FocusDistance(host::ItemId item, double time) {
    Record("focusDistance(" + ItemName(item) + "," + Format(time) + ")");
    const RecordingHost::Camera& camera = ActiveHost().camera;
    return camera.focusDistance + camera.focusRate * time;
}

double FStop(host::ItemId item, double time) {
    Record("fStop(" + ItemName(item) + "," + Format(time) + ")");
    return ActiveHost().camera.fStop;
}

host::ParameterHandle CreateParameter(int type, int texture) {
    RecordingHost& fake = ActiveHost();
    const int call = fake.parameterCreateCalls++;
    Record("create(" + std::to_string(type) + "," + std::to_string(texture) + ")");
    if (fake.failingParameterCreates.count(call) != 0) return nullptr;
    auto parameter = std::make_unique<FakeParameter>();
    parameter->index = static_cast<int>(fake.parameters.size());
    parameter->type = type;
    parameter->texture = texture;
    fake.parameters.push_back(std::move(parameter));
    return fake.parameters.back().get();
}

void DestroyParameter(host::ParameterHandle handle) {
    Record("destroy(" + Name(handle) + ")");
    FakeParameter& parameter = ActiveHost().parameter(handle);
    if (parameter.destroyed) ActiveHost().faults.push_back("parameter " + Name(handle) + " destroyed twice");
    parameter.destroyed = true;
}

int SetupChannel(host::ParameterHandle handle, const char* channelName, host::ChannelGroupId group, void* a,
                 void* b, void* c, void* d) {
    const bool zeros = a == nullptr && b == nullptr && c == nullptr && d == nullptr;
    Record("setupChannel(" + Name(handle) + "," + channelName + (zeros ? ",zeros" : ",NONZERO") + ")");
    FakeParameter& parameter = ActiveHost().parameter(handle);
    parameter.channelName = channelName;
    parameter.group = group;
    return 1;
}

const char* LoadParameter(host::ParameterHandle handle, const host::LoadState* state) {
    RecordingHost& fake = ActiveHost();
    Record("load(" + Name(handle) + ")");
    if (fake.loadCalls++ == fake.failingLoadBlock) return fake.loadError;
    float block[2] = {};
    const ParameterBlockScope blockScope;
    if (state->readFloats(state->context, block, 2) != 2) return "parameter block cut short";
    fake.parameter(handle).value = block[1];
    return nullptr;
}

const char* SaveParameter(host::ParameterHandle handle, const host::SaveState* state) {
    RecordingHost& fake = ActiveHost();
    Record("save(" + Name(handle) + ")");
    if (fake.saveCalls++ == fake.failingSaveBlock) return fake.saveError;
    const FakeParameter& parameter = fake.parameter(handle);
    float block[2] = {static_cast<float>(parameter.index), static_cast<float>(parameter.value)};
    const ParameterBlockScope blockScope;
    state->writeFloats(state->context, block, 2);
    return nullptr;
}

double ParameterValue(host::ParameterHandle handle, double time, void* reserved, double* result) {
    Record("value(" + Name(handle) + "," + Format(time) + (reserved == nullptr ? "" : ",NONNULL") + ")");
    const FakeParameter& parameter = ActiveHost().parameter(handle);
    result[0] = parameter.value + parameter.slope * time;
    result[1] = -1.0;  // the rest of the buffer is not the value
    result[2] = -2.0;
    return -3.0;       // nor is the returned double
}

int SetParameterValue(host::ParameterHandle handle, const double* value) {
    Record("setValue(" + Name(handle) + "," + Format(*value) + ")");
    ActiveHost().parameter(handle).value = *value;
    return 1;
}

int ReadFloats(void* context, float* buffer, int count) {
    auto& stream = *static_cast<FloatStream*>(context);
    ++stream.readCalls;
    std::size_t end = stream.floats.size();
    if (stream.cutAfter >= 0) end = std::min(end, static_cast<std::size_t>(stream.cutAfter));
    const int available = static_cast<int>(end - std::min(end, stream.readPosition));
    const int delivered = std::min(count, available);
    std::copy_n(stream.floats.begin() + static_cast<std::ptrdiff_t>(stream.readPosition), delivered, buffer);
    stream.readPosition += static_cast<std::size_t>(delivered);
    Record("readFloats(" + std::to_string(count) + ")");
    if (ActiveHost().inParameterBlock) return delivered;
    return stream.readAnswer.value_or(delivered);
}

int WriteFloats(void* context, float* buffer, int count) {
    auto& stream = *static_cast<FloatStream*>(context);
    ++stream.writeCalls;
    stream.floats.insert(stream.floats.end(), buffer, buffer + count);
    Record("writeFloats(" + std::to_string(count) + ")");
    return count;
}

}  // namespace

host::LoadState FloatStream::loadState() {
    host::LoadState state{};
    state.context = this;
    state.readFloats = ReadFloats;
    return state;
}

host::SaveState FloatStream::saveState() {
    host::SaveState state{};
    state.context = this;
    state.writeFloats = WriteFloats;
    return state;
}

RecordingHost::RecordingHost() {
    if (active != nullptr) throw std::logic_error("only one recording host at a time");
    active = this;
    parameterService.create = CreateParameter;
    parameterService.destroy = DestroyParameter;
    parameterService.setupChannel = SetupChannel;
    parameterService.load = LoadParameter;
    parameterService.save = SaveParameter;
    parameterService.value = ParameterValue;
    parameterService.setValue = SetParameterValue;
    itemInfo.channelGroup = ChannelGroup;
    itemInfo.itemVector = ItemVector;
    cameraInfo.zoomFactor = ZoomFactor;
    cameraInfo.focusDistance = FocusDistance;
    cameraInfo.fStop = FStop;
}

RecordingHost::~RecordingHost() { active = nullptr; }

host::GlobalLookup RecordingHost::lookup() { return Lookup; }

std::vector<std::string> RecordingHost::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> matching;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(matching),
                 [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    return matching;
}

host::ChannelGroupId RecordingHost::channelGroupOf(host::ItemId item) const {
    return static_cast<char*>(item) + 1;
}

FakeParameter& RecordingHost::parameter(host::ParameterHandle handle) {
    for (const auto& parameter : parameters) {
        if (parameter.get() == handle) return *parameter;
    }
    // No exception may unwind through the module: note the fault and answer
    // from a parameter that belongs to nobody.
    faults.push_back("the module passed a parameter handle the host never made");
    static FakeParameter stray{-1, 0, 0, "", nullptr, 0.0, 0.0, false};
    return stray;
}

int RecordingHost::liveParameterCount() const {
    return static_cast<int>(std::count_if(parameters.begin(), parameters.end(),
                                          [](const auto& parameter) { return !parameter->destroyed; }));
}

RecordingHost& ActiveHost() {
    if (active == nullptr) throw std::logic_error("no recording host is active");
    return *active;
}

}  // namespace testhost
