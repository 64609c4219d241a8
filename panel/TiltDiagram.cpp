#include "panel/TiltDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "instance/TiltShiftInstance.h"
#include "lens/Matrix.h"
#include "module/HostServices.h"
#include "panel/PanelIds.h"

namespace tarvelin {

namespace {

// The disc: its centre stands for no tilt, its rim for a tilt of 90 degrees.
constexpr int kCentreX = 40;
constexpr int kCentreY = 30;
constexpr double kRimRadius = 29.0;
constexpr int kRimSegments = 72;  // of 10 degrees each: the rim is drawn twice round

constexpr std::int32_t kLineColour = 0x01C8C8C8;  // 0x01, then red, green, blue of 200
constexpr int kMarkerSize = 5;

// A marker farther out than this lies far beyond any drawing area; limiting
// the radius keeps its corner, and the host's corner plus size, within int32.
constexpr double kMarkerRadiusLimit = 1 << 30;

struct Pixel {
    std::int32_t x;
    std::int32_t y;
};

// Truncation toward zero; only called with values well inside int32.
std::int32_t Truncate(double value) { return static_cast<std::int32_t>(value); }

// The marker's top-left corner, or nothing when the settings are not numbers.
std::optional<Pixel> MarkerCorner(const TiltShiftInstance& instance) {
    const double angle = instance.tiltAngle;
    const double direction = instance.tiltDirection;
    if (!std::isfinite(angle) || !std::isfinite(direction)) return std::nullopt;

    // A tilt of −α about δ leans the lens as a tilt of α about δ + 180°: the
    // marker goes to the opposite side at the radius of α.
    const double magnitude = std::fabs(angle);
    const double radius = kRimRadius * std::sqrt((magnitude + magnitude) / pi);
    if (std::isnan(radius)) return std::nullopt;  // no π yet

    Matrix4d rotation;
    RotationZ(rotation, direction);
    Vector3d tilt = TransformPoint({0.0, std::min(radius, kMarkerRadiusLimit), 0.0}, rotation);
    if (angle < 0.0) tilt = {-tilt.x, -tilt.y, -tilt.z};

    // The box is centred on the disc centre minus the tilt vector.
    return Pixel{Truncate((kCentreX - kMarkerSize / 2) - tilt.x), Truncate((kCentreY - kMarkerSize / 2) - tilt.y)};
}

void DrawRim(const host::PanelDrawingTable& drawing, host::DrawingArea area) {
    Matrix4d step;
    RotationZ(step, pi / 18.0);
    // The point is advanced by repeated rotation, so rounding accumulates
    // from segment to segment as the host has always been shown it.
    Vector3d p{0.0, kRimRadius, 0.0};
    for (int segment = 0; segment < kRimSegments; ++segment) {
        const Vector3d q = TransformPoint({p.x, p.y, 0.0}, step);
        drawing.line(area, kLineColour, Truncate(p.x + kCentreX), Truncate(p.y + kCentreY), Truncate(q.x + kCentreX),
                     Truncate(q.y + kCentreY));
        p = q;
    }
}

}  // namespace

void DrawTiltDiagram(host::PanelHandle panel, host::PanelId /*control*/, host::DrawingArea area) {
    const host::PanelService* service = HostServices.panelService;
    if (service == nullptr || service->drawing == nullptr) return;
    const host::PanelDrawingTable& drawing = *service->drawing;
    const auto* instance = static_cast<const TiltShiftInstance*>(service->getData(panel, kWholePanel));

    drawing.filledBox(area, 240, 240, 240, 0, 0, 100, 100);
    DrawRim(drawing, area);
    drawing.filledBox(area, 200, 200, 200, 0, kCentreY, 2 * kCentreX + 1, 1);
    drawing.filledBox(area, 200, 200, 200, kCentreX, 0, 1, 2 * kCentreY + 1);
    if (instance == nullptr) return;
    if (const std::optional<Pixel> corner = MarkerCorner(*instance)) {
        drawing.filledBox(area, 255, 100, 100, corner->x, corner->y, kMarkerSize, kMarkerSize);
    }
}

}  // namespace tarvelin
