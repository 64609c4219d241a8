#pragma once
// The stand-in host's state and the services a module reaches through the
// global lookup. A module calls the services through plain C function
// pointers with no context, so they act on the one active session: a
// HostSession is active from its construction to its destruction, and only
// one may exist at a time.
//
// Keep the session alive for as long as any module instance made in it, and
// activate a module's servers again in each new session.

#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/Services.h"
#include "workbench/Envelope.h"
#include "workbench/Rotation.h"

namespace workbench {

struct ChannelGroup;

// An animated parameter of "LWVParmFuncs 2". Its handle is its address.
// The service's set-value makes an unkeyed parameter's constant the new value,
// and gives a keyed one a key at the session's current time (replacing a key
// already there).
struct Parameter {
    int type = 0;             // host::ParameterType
    std::string channelName;  // empty until its channel is set up
    ChannelGroup* group = nullptr;
    Envelope envelope;        // percentages as fractions, angles in radians
};

// A named group of channels; each item has one.
struct ChannelGroup {
    std::string name;
    std::vector<Parameter*> channels;  // in set-up order
};

// A camera item: its motion and the camera values "LW Camera Info 5" answers.
struct CameraItem {
    std::string name;
    std::array<Envelope, 3> position;  // x, y, z in metres
    std::array<Envelope, 3> rotation;  // heading, pitch, bank in radians
    Envelope zoomFactor{3.2};
    Envelope focusDistance{1.0};       // metres
    Envelope fStop{4.0};
    ChannelGroup* channels = nullptr;

    Vector3 positionAt(double time) const;
    Axes axesAt(double time) const;
};

// One call of "Instance Update".
struct InstanceUpdate {
    std::string className;
    void* instance;
    bool operator==(const InstanceUpdate&) const = default;
};

class HostSession {
public:
    HostSession();  // throws SessionError while another session is active
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // The active session; throws SessionError when there is none.
    static HostSession& active();
    static HostSession* activeOrNull();

    // The lookup function handed to activations: service name → record.
    static host::GlobalLookup lookup();

    // What the lookup answers for `name` in this session, or null.
    void* service(std::string_view name) const;
    // Adds a service the session does not make itself (for instance the
    // panel service), or replaces one; null withdraws it.
    void provideService(std::string name, void* service);
    // Makes the lookup answer null for one of the session's own services.
    void withdrawService(std::string name);

    // "LW Time Info".
    double time() const { return timeInfo_.time; }
    void setTime(double seconds) { timeInfo_.time = seconds; }

    // Items and channel groups. Ids stay valid for the session's life.
    CameraItem& addCamera(std::string name);
    // Removes a camera and its channel group; its channels must be gone.
    void removeCamera(CameraItem& camera);
    CameraItem* findCamera(host::ItemId item) const;
    CameraItem* findCamera(std::string_view name) const;
    static host::ItemId idOf(const CameraItem& camera) { return const_cast<CameraItem*>(&camera); }
    ChannelGroup* findChannelGroup(host::ChannelGroupId group) const;
    ChannelGroup* findChannelGroup(std::string_view name) const;

    // Parameters of "LWVParmFuncs 2".
    Parameter& createParameter(int type);
    void destroyParameter(Parameter& parameter);
    Parameter* findParameter(host::ParameterHandle handle) const;
    static host::ParameterHandle handleOf(const Parameter& parameter) { return const_cast<Parameter*>(&parameter); }
    // The channel of that name in the group, or null.
    static Parameter* findChannel(const ChannelGroup& group, std::string_view channelName);
    std::size_t liveParameterCount() const { return parameters_.size(); }

    // "Instance Update" calls, oldest first.
    const std::vector<InstanceUpdate>& instanceUpdates() const { return instanceUpdates_; }
    void recordInstanceUpdate(InstanceUpdate update) { instanceUpdates_.push_back(std::move(update)); }
    void clearInstanceUpdates() { instanceUpdates_.clear(); }

    // The module's misuse of the host (unknown handles, calls without a
    // session); a sound module leaves this empty.
    const std::vector<std::string>& faults() const { return faults_; }
    void noteFault(std::string fault) { faults_.push_back(std::move(fault)); }
    void clearFaults() { faults_.clear(); }

private:
    ChannelGroup& addChannelGroup(std::string name);

    host::TimeInfo timeInfo_{0.0};
    std::vector<std::unique_ptr<CameraItem>> cameras_;
    std::vector<std::unique_ptr<ChannelGroup>> groups_;
    std::map<const void*, std::unique_ptr<Parameter>> parameters_;
    std::vector<InstanceUpdate> instanceUpdates_;
    std::map<std::string, void*, std::less<>> providedServices_;
    std::set<std::string, std::less<>> withdrawnServices_;
    std::vector<std::string> faults_;
};

}  // namespace workbench
