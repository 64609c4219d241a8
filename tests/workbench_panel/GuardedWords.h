#pragma once
// Words placed flush against an unreadable page, so that a reader that looks
// one word past its span crashes the test instead of passing by luck.

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <span>
#include <stdexcept>
#include <vector>

#include "host/PanelService.h"

namespace workbench::panel::testing {

class GuardedWords {
public:
    explicit GuardedWords(const std::vector<host::PanelWord>& words) {
        const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t bytes = words.size() * sizeof(host::PanelWord);
        dataPages_ = (bytes + page - 1) / page + 1;
        size_ = (dataPages_ + 1) * page;
        void* memory = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) throw std::runtime_error("mmap failed");
        base_ = static_cast<char*>(memory);
        if (mprotect(base_ + dataPages_ * page, page, PROT_NONE) != 0) throw std::runtime_error("mprotect failed");
        auto* end = reinterpret_cast<host::PanelWord*>(base_ + dataPages_ * page);
        words_ = std::span<const host::PanelWord>(end - words.size(), words.size());
        if (!words.empty()) std::memcpy(end - words.size(), words.data(), bytes);
    }
    ~GuardedWords() { munmap(base_, size_); }
    GuardedWords(const GuardedWords&) = delete;
    GuardedWords& operator=(const GuardedWords&) = delete;

    std::span<const host::PanelWord> words() const { return words_; }

private:
    char* base_ = nullptr;
    std::size_t size_ = 0;
    std::size_t dataPages_ = 0;
    std::span<const host::PanelWord> words_;
};

}  // namespace workbench::panel::testing
