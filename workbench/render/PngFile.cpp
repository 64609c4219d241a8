#include "workbench/render/PngFile.h"

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "workbench/Errors.h"

namespace workbench::render {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& file, const std::string& cause) {
    throw WorkbenchError("cannot write the picture " + file.string() + ": " + cause);
}

// A name beside `file` that no other writer (process or thread) uses.
std::filesystem::path TemporaryBeside(const std::filesystem::path& file) {
    const std::size_t thread = std::hash<std::thread::id>{}(std::this_thread::get_id());
    return file.parent_path() /
           ("." + file.filename().string() + "." + std::to_string(getpid()) + "-" + std::to_string(thread) + ".tmp");
}

// Removes the temporary file unless the write got as far as renaming it.
class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!kept_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    std::filesystem::path path_;
    bool kept_ = false;
};

}  // namespace

void WritePng(const std::filesystem::path& file, int width, int height, std::span<const std::uint8_t> rgb) {
    if (width < 1 || height < 1) {
        throw std::invalid_argument("a picture needs a positive width and height, not " + std::to_string(width) +
                                    " × " + std::to_string(height));
    }
    const std::size_t expected = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    if (rgb.size() != expected) {
        throw std::invalid_argument("a " + std::to_string(width) + " × " + std::to_string(height) + " picture needs " +
                                    std::to_string(expected) + " bytes, not " + std::to_string(rgb.size()));
    }
    if (file.filename().empty()) Fail(file, "the path names no file");

    TemporaryFile temporary(TemporaryBeside(file));
    std::FILE* stream = std::fopen(temporary.path().c_str(), "wb");
    if (stream == nullptr) Fail(file, std::strerror(errno));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_stdio(&image, stream, 0, rgb.data(), 0, nullptr) != 0;
    const std::string pngMessage = image.message;
    png_image_free(&image);
    int cause = 0;
    if (std::fflush(stream) != 0 || std::ferror(stream) != 0) cause = errno != 0 ? errno : EIO;
    if (std::fclose(stream) != 0 && cause == 0) cause = errno != 0 ? errno : EIO;
    if (!written) Fail(file, pngMessage);
    if (cause != 0) Fail(file, std::strerror(cause));

    std::error_code error;
    std::filesystem::rename(temporary.path(), file, error);
    if (error) Fail(file, error.message());
    temporary.keep();
}

}  // namespace workbench::render
