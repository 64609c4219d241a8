#include "workbench/SceneFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include <nlohmann/json.hpp>

#include "workbench/Errors.h"

namespace workbench {

using Json = nlohmann::json;

host::FrameSetup Scene::frameSetup(int frame) const {
    host::FrameSetup setup{};
    setup.frame = frame;
    setup.startTime = (frame + shutter.offset) / framesPerSecond;
    setup.duration = shutter.duration / framesPerSecond;
    setup.motionSteps = motionSteps;
    return setup;
}

namespace {

// ---- Reading: each value is read with the JSON path that leads to it. ----

// A value that does not fit; the path goes into the message.
struct SchemaError {
    std::string path;
    std::string message;
};

[[noreturn]] void Refuse(const std::string& path, const std::string& message) {
    throw SchemaError{path.empty() ? "/" : path, message};
}

// Escapes a member name for a JSON path.
std::string PathPart(std::string_view name) {
    std::string part;
    for (char c : name) {
        if (c == '~') part += "~0";
        else if (c == '/') part += "~1";
        else part += c;
    }
    return part;
}

class Reader {
public:
    Reader(const Json& value, std::string path) : value_(value), path_(std::move(path)) {}

    const Json& json() const { return value_; }
    const std::string& path() const { return path_; }

    // An object whose members are all among `allowed`.
    const Reader& object(const std::vector<std::string_view>& allowed) const {
        if (!value_.is_object()) Refuse(path_, "expected an object");
        for (const auto& [name, member] : value_.items()) {
            bool known = false;
            for (std::string_view candidate : allowed) known = known || candidate == name;
            if (!known) Refuse(path_ + "/" + PathPart(name), "unknown field");
        }
        return *this;
    }

    bool has(std::string_view name) const { return value_.contains(name); }
    Reader member(std::string_view name) const {
        return Reader(value_.at(std::string(name)), path_ + "/" + PathPart(name));
    }
    Reader element(std::size_t index) const { return Reader(value_.at(index), path_ + "/" + std::to_string(index)); }

    std::size_t arrayLength(std::size_t exact = 0) const {
        if (!value_.is_array()) Refuse(path_, "expected an array");
        if (exact != 0 && value_.size() != exact) Refuse(path_, "expected " + std::to_string(exact) + " elements");
        return value_.size();
    }

    double number() const {
        if (!value_.is_number()) Refuse(path_, "expected a number");
        return value_.get<double>();
    }
    double positive() const {
        const double value = number();
        if (!(value > 0.0)) Refuse(path_, "expected a number above zero");
        return value;
    }
    int integer(long long lowest, long long highest) const {
        if (!value_.is_number_integer()) Refuse(path_, "expected a whole number");
        const long long value =
            value_.is_number_unsigned() && value_.get<unsigned long long>() > 0x7fffffffffffffffull
                ? std::numeric_limits<long long>::max()
                : value_.get<long long>();
        if (value < lowest || value > highest) {
            Refuse(path_, "expected a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest));
        }
        return static_cast<int>(value);
    }
    std::uint32_t word() const {
        if (!value_.is_number_unsigned() || value_.get<unsigned long long>() > 0xffffffffull) {
            Refuse(path_, "expected a whole number from 0 to 4294967295");
        }
        return static_cast<std::uint32_t>(value_.get<unsigned long long>());
    }
    std::string text() const {
        if (!value_.is_string()) Refuse(path_, "expected a text");
        return value_.get<std::string>();
    }

private:
    const Json& value_;
    std::string path_;
};

template <typename Target, typename Read>
void Optional(const Reader& parent, std::string_view name, Target& target, Read read) {
    if (parent.has(name)) target = read(parent.member(name));
}

Vector3 ReadVector(const Reader& reader) {
    reader.arrayLength(3);
    return {reader.element(0).number(), reader.element(1).number(), reader.element(2).number()};
}

Colour ReadColour(const Reader& reader) { return ReadVector(reader); }

Envelope ReadChannel(const Reader& reader) {
    if (reader.json().is_number()) return Envelope(reader.number());
    reader.object({"value", "keys"});
    double constant = 0.0;
    Optional(reader, "value", constant, [](const Reader& r) { return r.number(); });
    std::vector<Key> keys;
    if (reader.has("keys")) {
        const Reader list = reader.member("keys");
        for (std::size_t i = 0, n = list.arrayLength(); i < n; ++i) {
            const Reader item = list.element(i);
            item.object({"time", "value", "interpolation"});
            if (!item.has("time") || !item.has("value")) Refuse(item.path(), "a key needs a time and a value");
            Key key{item.member("time").number(), item.member("value").number(), Interpolation::Spline};
            if (item.has("interpolation")) {
                const Reader shape = item.member("interpolation");
                const auto interpolation = InterpolationFromName(shape.text());
                if (!interpolation) Refuse(shape.path(), "expected \"linear\", \"spline\" or \"stepped\"");
                key.interpolation = *interpolation;
            }
            if (!keys.empty() && !(keys.back().time < key.time)) {
                Refuse(item.member("time").path(), "keys must be in strictly increasing time order");
            }
            keys.push_back(key);
        }
    }
    // The value is the channel's when it has no key; a keyed channel without
    // one takes its first key's.
    if (!reader.has("value") && !keys.empty()) constant = keys.front().value;
    return Envelope(constant, std::move(keys));
}

CameraSetup ReadCamera(const Reader& reader) {
    reader.object({"name", "position", "rotation", "zoomFactor", "focusDistance", "fStop"});
    CameraSetup camera;
    Optional(reader, "name", camera.name, [](const Reader& r) {
        std::string name = r.text();
        if (name.empty()) Refuse(r.path(), "expected a name that is not empty");
        return name;
    });
    if (reader.has("position")) {
        const Reader position = reader.member("position");
        position.arrayLength(3);
        for (std::size_t i = 0; i < 3; ++i) camera.position[i] = ReadChannel(position.element(i));
    }
    if (reader.has("rotation")) {
        const Reader rotation = reader.member("rotation");
        rotation.object({"heading", "pitch", "bank"});
        Optional(rotation, "heading", camera.rotation[0], ReadChannel);
        Optional(rotation, "pitch", camera.rotation[1], ReadChannel);
        Optional(rotation, "bank", camera.rotation[2], ReadChannel);
    }
    Optional(reader, "zoomFactor", camera.zoomFactor, ReadChannel);
    Optional(reader, "focusDistance", camera.focusDistance, ReadChannel);
    Optional(reader, "fStop", camera.fStop, ReadChannel);
    return camera;
}

World ReadWorld(const Reader& reader) {
    reader.object({"background", "light", "ground", "boxes", "spheres"});
    World world;
    Optional(reader, "background", world.background, ReadColour);
    Optional(reader, "light", world.light, [](const Reader& r) {
        r.object({"direction", "ambient"});
        Light light;
        Optional(r, "direction", light.direction, ReadVector);
        Optional(r, "ambient", light.ambient, [](const Reader& a) { return a.number(); });
        return light;
    });
    Optional(reader, "ground", world.ground, [](const Reader& r) {
        r.object({"height", "checkerSize", "colours"});
        Ground ground;
        Optional(r, "height", ground.height, [](const Reader& h) { return h.number(); });
        Optional(r, "checkerSize", ground.checkerSize, [](const Reader& s) { return s.positive(); });
        if (r.has("colours")) {
            const Reader colours = r.member("colours");
            colours.arrayLength(2);
            ground.colours = {ReadColour(colours.element(0)), ReadColour(colours.element(1))};
        }
        return std::optional<Ground>(ground);
    });
    if (reader.has("boxes")) {
        const Reader list = reader.member("boxes");
        for (std::size_t i = 0, n = list.arrayLength(); i < n; ++i) {
            const Reader item = list.element(i);
            item.object({"centre", "size", "colour"});
            Box box;
            Optional(item, "centre", box.centre, ReadVector);
            Optional(item, "size", box.size, ReadVector);
            Optional(item, "colour", box.colour, ReadColour);
            world.boxes.push_back(box);
        }
    }
    if (reader.has("spheres")) {
        const Reader list = reader.member("spheres");
        for (std::size_t i = 0, n = list.arrayLength(); i < n; ++i) {
            const Reader item = list.element(i);
            item.object({"centre", "radius", "colour"});
            Sphere sphere;
            Optional(item, "centre", sphere.centre, ReadVector);
            Optional(item, "radius", sphere.radius, [](const Reader& r) { return r.positive(); });
            Optional(item, "colour", sphere.colour, ReadColour);
            world.spheres.push_back(sphere);
        }
    }
    return world;
}

Scene ReadScene(const Reader& root) {
    root.object({"film", "resolution", "frames", "shutter", "motionSteps", "camera", "settings", "moduleData",
                 "world"});
    Scene scene;
    Optional(root, "film", scene.film, [](const Reader& r) {
        r.object({"width", "height"});
        Film film;
        Optional(r, "width", film.width, [](const Reader& w) { return w.positive(); });
        Optional(r, "height", film.height, [](const Reader& h) { return h.positive(); });
        return film;
    });
    Optional(root, "resolution", scene.resolution, [](const Reader& r) {
        r.object({"width", "height"});
        Resolution resolution;
        Optional(r, "width", resolution.width, [](const Reader& w) { return w.integer(1, 1 << 15); });
        Optional(r, "height", resolution.height, [](const Reader& h) { return h.integer(1, 1 << 15); });
        return resolution;
    });
    if (root.has("frames")) {
        const Reader frames = root.member("frames");
        frames.object({"first", "last", "perSecond"});
        constexpr long long kFrameLimit = 1'000'000'000;
        Optional(frames, "first", scene.frames.first, [](const Reader& r) { return r.integer(-kFrameLimit, kFrameLimit); });
        Optional(frames, "last", scene.frames.last, [](const Reader& r) { return r.integer(-kFrameLimit, kFrameLimit); });
        Optional(frames, "perSecond", scene.framesPerSecond, [](const Reader& r) { return r.positive(); });
        if (scene.frames.last < scene.frames.first) {
            Refuse(frames.path() + (frames.has("last") ? "/last" : "/first"), "the last frame comes before the first");
        }
    }
    Optional(root, "shutter", scene.shutter, [](const Reader& r) {
        r.object({"offset", "duration"});
        Shutter shutter;
        Optional(r, "offset", shutter.offset, [](const Reader& o) { return o.number(); });
        Optional(r, "duration", shutter.duration, [](const Reader& d) {
            const double value = d.number();
            if (value < 0.0) Refuse(d.path(), "expected a duration of zero or more");
            return value;
        });
        return shutter;
    });
    // The module samples 4 × steps + 1 times per frame; keep that sane.
    Optional(root, "motionSteps", scene.motionSteps, [](const Reader& r) { return r.integer(0, 1024); });
    Optional(root, "camera", scene.camera, ReadCamera);
    if (root.has("settings")) {
        const Reader settings = root.member("settings");
        settings.object(std::vector<std::string_view>(kSettingChannels.begin(), kSettingChannels.end()));
        for (std::string_view name : kSettingChannels) {
            if (settings.has(name)) scene.settings.emplace(std::string(name), ReadChannel(settings.member(name)));
        }
    }
    if (root.has("moduleData")) {
        const Reader data = root.member("moduleData");
        std::vector<std::uint32_t> words;
        for (std::size_t i = 0, n = data.arrayLength(); i < n; ++i) {
            words.push_back(data.element(i).word());
        }
        scene.moduleData = std::move(words);
    }
    Optional(root, "world", scene.world, ReadWorld);
    return scene;
}

// Line and column (from 1) of the byte `offset` in `text`.
std::pair<std::size_t, std::size_t> LineAndColumn(std::string_view text, std::size_t offset) {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

// ---- Writing. ----

// Refuses what JSON cannot hold, naming where it is.
double Finite(double value, const std::string& path) {
    if (!std::isfinite(value)) Refuse(path, "a number that is not finite cannot be written");
    return value;
}

Json WriteVector(const Vector3& vector, const std::string& path) {
    return Json::array({Finite(vector[0], path + "/0"), Finite(vector[1], path + "/1"), Finite(vector[2], path + "/2")});
}

Json WriteChannel(const Envelope& envelope, const std::string& path) {
    if (!envelope.animated()) return Finite(envelope.constant(), path);
    Json keys = Json::array();
    for (std::size_t i = 0; i < envelope.keys().size(); ++i) {
        const Key& key = envelope.keys()[i];
        const std::string keyPath = path + "/keys/" + std::to_string(i);
        keys.push_back({{"time", Finite(key.time, keyPath + "/time")},
                        {"value", Finite(key.value, keyPath + "/value")},
                        {"interpolation", InterpolationName(key.interpolation)}});
    }
    return {{"value", Finite(envelope.constant(), path + "/value")}, {"keys", std::move(keys)}};
}

Json WriteScene(const Scene& scene) {
    Json root;
    root["film"] = {{"width", Finite(scene.film.width, "/film/width")},
                    {"height", Finite(scene.film.height, "/film/height")}};
    root["resolution"] = {{"width", scene.resolution.width}, {"height", scene.resolution.height}};
    root["frames"] = {{"first", scene.frames.first},
                      {"last", scene.frames.last},
                      {"perSecond", Finite(scene.framesPerSecond, "/frames/perSecond")}};
    root["shutter"] = {{"offset", Finite(scene.shutter.offset, "/shutter/offset")},
                       {"duration", Finite(scene.shutter.duration, "/shutter/duration")}};
    root["motionSteps"] = scene.motionSteps;

    const CameraSetup& camera = scene.camera;
    Json position = Json::array();
    for (std::size_t i = 0; i < 3; ++i) {
        position.push_back(WriteChannel(camera.position[i], "/camera/position/" + std::to_string(i)));
    }
    root["camera"] = {{"name", camera.name},
                      {"position", std::move(position)},
                      {"rotation",
                       {{"heading", WriteChannel(camera.rotation[0], "/camera/rotation/heading")},
                        {"pitch", WriteChannel(camera.rotation[1], "/camera/rotation/pitch")},
                        {"bank", WriteChannel(camera.rotation[2], "/camera/rotation/bank")}}},
                      {"zoomFactor", WriteChannel(camera.zoomFactor, "/camera/zoomFactor")},
                      {"focusDistance", WriteChannel(camera.focusDistance, "/camera/focusDistance")},
                      {"fStop", WriteChannel(camera.fStop, "/camera/fStop")}};

    Json settings = Json::object();
    for (std::string_view name : kSettingChannels) {
        if (const auto found = scene.settings.find(name); found != scene.settings.end()) {
            settings[std::string(name)] = WriteChannel(found->second, "/settings/" + std::string(name));
        }
    }
    root["settings"] = std::move(settings);
    if (scene.moduleData) root["moduleData"] = *scene.moduleData;

    const World& world = scene.world;
    Json worldJson;
    worldJson["background"] = WriteVector(world.background, "/world/background");
    worldJson["light"] = {{"direction", WriteVector(world.light.direction, "/world/light/direction")},
                          {"ambient", Finite(world.light.ambient, "/world/light/ambient")}};
    if (world.ground) {
        worldJson["ground"] = {
            {"height", Finite(world.ground->height, "/world/ground/height")},
            {"checkerSize", Finite(world.ground->checkerSize, "/world/ground/checkerSize")},
            {"colours", Json::array({WriteVector(world.ground->colours[0], "/world/ground/colours/0"),
                                     WriteVector(world.ground->colours[1], "/world/ground/colours/1")})}};
    }
    Json boxes = Json::array();
    for (std::size_t i = 0; i < world.boxes.size(); ++i) {
        const std::string path = "/world/boxes/" + std::to_string(i);
        boxes.push_back({{"centre", WriteVector(world.boxes[i].centre, path + "/centre")},
                         {"size", WriteVector(world.boxes[i].size, path + "/size")},
                         {"colour", WriteVector(world.boxes[i].colour, path + "/colour")}});
    }
    worldJson["boxes"] = std::move(boxes);
    Json spheres = Json::array();
    for (std::size_t i = 0; i < world.spheres.size(); ++i) {
        const std::string path = "/world/spheres/" + std::to_string(i);
        spheres.push_back({{"centre", WriteVector(world.spheres[i].centre, path + "/centre")},
                           {"radius", Finite(world.spheres[i].radius, path + "/radius")},
                           {"colour", WriteVector(world.spheres[i].colour, path + "/colour")}});
    }
    worldJson["spheres"] = std::move(spheres);
    root["world"] = std::move(worldJson);
    return root;
}

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

}  // namespace

Scene ParseScene(std::string_view text, const std::string& sourceName) {
    Json document;
    try {
        document = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        // The parser counts the byte it stopped at from 1.
        const auto [line, column] = LineAndColumn(text, error.byte == 0 ? 0 : error.byte - 1);
        std::string message = error.what();
        // Keep the parser's reason without its own "[json.exception…] parse error at line…" prefix.
        if (const auto reason = message.find(": "); reason != std::string::npos) message = message.substr(reason + 2);
        throw SceneError(sourceName + ":" + std::to_string(line) + ":" + std::to_string(column) +
                         ": malformed JSON: " + message);
    } catch (const Json::out_of_range& error) {
        // A number beyond the range of a double ("1e400"); the parser gives
        // the number's text but not its place.
        std::string message = error.what();
        if (const auto reason = message.find("] "); reason != std::string::npos) message = message.substr(reason + 2);
        throw SceneError(sourceName + ": malformed JSON: " + message);
    }
    try {
        return ReadScene(Reader(document, ""));
    } catch (const SchemaError& error) {
        throw SceneError(sourceName + ": at " + error.path + ": " + error.message);
    }
}

std::string FormatScene(const Scene& scene) {
    try {
        return WriteScene(scene).dump(2) + "\n";
    } catch (const SchemaError& error) {
        throw SceneError("cannot write the scene: at " + error.path + ": " + error.message);
    }
}

Scene LoadSceneFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) throw SceneError(SystemError(file.string() + ": cannot open the scene"));
    std::ostringstream text;
    text << stream.rdbuf();
    if (stream.bad()) throw SceneError(SystemError(file.string() + ": cannot read the scene"));
    return ParseScene(text.str(), file.string());
}

void SaveSceneFile(const Scene& scene, const std::filesystem::path& file) {
    std::string text;
    try {
        text = FormatScene(scene);
    } catch (const SceneError& error) {
        throw SceneError(file.string() + ": " + error.what());
    }

    // The temporary file sits beside the target so the rename stays on one
    // file system and replaces the target in one step.
    std::string temporary = file.string() + ".XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) throw SceneError(SystemError(file.string() + ": cannot create a temporary file beside it"));
    auto failWith = [&](const std::string& what) {
        const std::string message = SystemError(file.string() + ": " + what);
        unlink(temporary.c_str());
        throw SceneError(message);
    };

    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t result = ::write(descriptor, text.data() + written, text.size() - written);
        if (result < 0) {
            if (errno == EINTR) continue;
            close(descriptor);
            failWith("cannot write the scene");
        }
        written += static_cast<std::size_t>(result);
    }
    // Scene files are for the user to read and share, not private.
    fchmod(descriptor, 0644);
    if (fsync(descriptor) != 0) {
        close(descriptor);
        failWith("cannot flush the scene to disk");
    }
    if (close(descriptor) != 0) failWith("cannot write the scene");
    if (std::rename(temporary.c_str(), file.c_str()) != 0) failWith("cannot replace the scene file");
}

}  // namespace workbench
