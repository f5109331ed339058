#include "platform/window/window_table.hpp"

#include <algorithm>

#include "platform/window/window_errors.hpp"

namespace zorbel::window::detail {

WindowTable& WindowTable::instance() {
    // Never destroyed: windows of threads still running at process exit may refer to it.
    static WindowTable* table = new WindowTable;
    return *table;
}

WindowHandle WindowTable::add(const std::shared_ptr<WindowRecord>& record) {
    std::lock_guard lock(mutex_);
    while (next_ == kNoWindow || records_.contains(next_)) ++next_;
    record->handle = next_++;
    record->serial = ++serial_;
    records_.emplace(record->handle, record);
    return record->handle;
}

std::shared_ptr<WindowRecord> WindowTable::find(WindowHandle handle) const {
    std::lock_guard lock(mutex_);
    auto it = records_.find(handle);
    return it == records_.end() ? nullptr : it->second;
}

bool WindowTable::remove(WindowHandle handle) {
    std::lock_guard lock(mutex_);
    return records_.erase(handle) > 0;
}

std::vector<std::shared_ptr<WindowRecord>> WindowTable::newestFirst() const {
    std::vector<std::shared_ptr<WindowRecord>> all;
    {
        std::lock_guard lock(mutex_);
        all.reserve(records_.size());
        for (const auto& [handle, record] : records_) all.push_back(record);
    }
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a->serial > b->serial; });
    return all;
}

std::shared_ptr<WindowRecord> requireWindow(WindowHandle handle, const char* what, bool ownerOnly) {
    auto record = WindowTable::instance().find(handle);
    if (!record) raiseInvalidWindow(handle);
    if (ownerOnly && record->owner != std::this_thread::get_id()) raiseWrongThread(what);
    return record;
}

intptr_t callProc(const WindowRecord& record, uint32_t message, intptr_t wParam, intptr_t lParam) {
    std::shared_ptr<const WindowProc> proc;
    {
        std::lock_guard lock(record.mutex);
        proc = record.proc;
    }
    return (*proc)(record.handle, message, wParam, lParam);
}

}  // namespace zorbel::window::detail
