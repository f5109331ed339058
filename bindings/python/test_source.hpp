#pragma once
// TestEventSource: a small scriptable class that the module carries for its own tests, with a
// member of every shape the binding must handle (stored and parameterised properties, optional
// and by-reference parameters, records, raised errors) and an event that fires on request,
// from a timer on the thread's queue, and around a message box. It is not part of the library.

#include <string>

#include "frame/object.hpp"
#include "platform/window/owned_window.hpp"

namespace zorbel::python {

// The record type TestEventSource uses.
const RecordInfo& testRecordInfo();

class TestEventSource final : public Dispatchable<TestEventSource> {
public:
    static const ClassInfo& typeInfo();

    std::string Label;
    bool Flag = false;
    ObjectRef Child;

    void Fire(int32_t value) { raiseEvent(0, {Variant::longValue(value)}); }
    std::string Join(std::string first, std::string second, std::string separator) {
        return first + separator + second;
    }
    int32_t Bump(int32_t& value, int32_t step);
    void Swap(std::string& text, int32_t& number);
    Variant Echo(Variant value) { return value; }
    void Fail(int32_t number, std::string description, std::string source);
    int32_t Cell(int32_t x, int32_t y);
    void setCell(int32_t x, int32_t y, int32_t value);
    Variant MakeRecord(std::string name, int32_t count);
    void Stamp(Variant& record);
    // Raises Tick(n) with n = 1, 2, ... from a timer of the thread's queue, `ticks` times.
    void StartTimer(int32_t intervalMs, int32_t ticks);
    // Shows a message box and raises Tick with its answer.
    int32_t ShowMessage(std::string text, std::string caption, int32_t style);

private:
    int32_t cells_[4][4] = {};
    window::OwnedWindow timerWindow_;
    int32_t ticksLeft_ = 0;
    int32_t ticksDone_ = 0;
};

}  // namespace zorbel::python
