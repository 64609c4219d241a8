#include "panel/CameraInterface.h"

#include "module/HostServices.h"
#include "panel/PanelIds.h"
#include "panel/PanelTables.h"
#include "panel/PanelValues.h"

namespace tarvelin {

int ActivateCameraInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void* /*serverData*/) {
    if (version != host::kCameraInterfaceVersion) return host::kBadVersion;

    HostServices.globalLookup = lookup;
    // Without it, edits are stored but the host is not told of them.
    HostServices.instanceUpdate =
        reinterpret_cast<host::InstanceUpdateFunction>(lookup(host::kInstanceUpdateName, host::kLookupMode));
    HostServices.panelService =
        static_cast<const host::PanelService*>(lookup(host::kPanelServiceName, host::kLookupMode));
    const host::PanelService* service = HostServices.panelService;
    if (service == nullptr) return host::kServiceMissing;

    auto* record = static_cast<host::CameraInterfaceRecord*>(interfaceRecord);
    void* instance = record->instance;
    host::PanelHandle panel = service->create(host::kPanelTypeFunctions, panelControls);
    if (panel == nullptr) return host::kActivated;  // the host goes on without a panel

    service->describe(panel, panelDataDescription, GetPanelValue, SetPanelValue);
    service->hint(panel, kWholePanel, PanelHintWords());
    service->viewInstance(panel, instance);
    service->setData(panel, kWholePanel, instance);

    // The panel is the host's from here on; the module keeps no reference.
    record->panel = panel;
    record->hostOption1 = nullptr;
    record->hostOption2 = nullptr;
    return host::kActivated;
}

}  // namespace tarvelin
