#include "bindings/python/test_source.hpp"

#include "bindings/python/binding.hpp"
#include "frame/class_builder.hpp"
#include "platform/window/message_box.hpp"
#include "platform/window/messages.hpp"
#include "platform/window/timer.hpp"

namespace zorbel::python {

namespace {
constexpr uintptr_t kTickTimer = 1;
}

const RecordInfo& testRecordInfo() {
    static const RecordInfo info{
        "TestRecord",
        {{"Name", VarType::String}, {"Count", VarType::Long}, {"Ratio", VarType::Double}, {"Flag", VarType::Boolean}}};
    return info;
}

const ClassInfo& TestEventSource::typeInfo() {
    using T = TestEventSource;
    static const ClassInfo info =
        ClassBuilder<T>("TestEventSource", nullptr)
            .stored("Label", &T::Label)
            .stored("Flag", &T::Flag)
            .stored("Child", &T::Child)
            .method("Fire", &T::Fire, {"value"})
            .method("Join", &T::Join,
                    {"first", Param::opt("second", Variant("two")), Param::opt("separator", Variant("-"))})
            .method("Bump", &T::Bump, {"value", Param::opt("step", Variant(1))})
            .method("Swap", &T::Swap, {"text", "number"})
            .method("Echo", &T::Echo, {"value"})
            .method("Fail", &T::Fail, {"number", "description", Param::opt("source", Variant("Zorbel.Test"))})
            .property("Cell", &T::Cell, &T::setCell, {"x", "y"})
            .method("MakeRecord", &T::MakeRecord, {"name", Param::opt("count", Variant(0))})
            .method("Stamp", &T::Stamp, {"record"})
            .method("StartTimer", &T::StartTimer, {"intervalMs", Param::opt("ticks", Variant(1))})
            .method("ShowMessage", &T::ShowMessage,
                    {"text", Param::opt("caption", Variant("Zorbel")), Param::opt("style", Variant(0))})
            .event("Tick", {{"lValue", VarType::Long}})
            .build();
    return info;
}

int32_t TestEventSource::Bump(int32_t& value, int32_t step) {
    int32_t before = value;
    value += step;
    return before;
}

void TestEventSource::Swap(std::string& text, int32_t& number) {
    text = std::to_string(number) + text;
    number = -number;
}

void TestEventSource::Fail(int32_t number, std::string description, std::string source) {
    throw Error(number, std::move(description), std::move(source));
}

int32_t TestEventSource::Cell(int32_t x, int32_t y) {
    if (x < 0 || x > 3 || y < 0 || y > 3) throw Error::runtime(err::kSubscriptOutOfRange);
    return cells_[x][y];
}

void TestEventSource::setCell(int32_t x, int32_t y, int32_t value) {
    Cell(x, y);
    cells_[x][y] = value;
}

Variant TestEventSource::MakeRecord(std::string name, int32_t count) {
    RecordValue value = testRecordInfo().makeValue();
    value.fields[0] = Variant(std::move(name));
    value.fields[1] = Variant::longValue(count);
    return Variant::record(std::move(value));
}

void TestEventSource::Stamp(Variant& record) {
    RecordValue& value = record.record();
    if (value.info != &testRecordInfo()) throw Error::runtime(err::kTypeMismatch);
    value.fields[0] = Variant(value.fields[0].toString() + "*");
    value.fields[1] = Variant::longValue(value.fields[1].toLong() + 1);
}

void TestEventSource::StartTimer(int32_t intervalMs, int32_t ticks) {
    if (!timerWindow_) {
        window::WindowOptions options;
        options.className = "ZorbelPythonTestTimer";
        options.proc = [this](window::WindowHandle handle, uint32_t message, intptr_t wParam,
                              intptr_t lParam) -> intptr_t {
            if (message != window::WM_TIMER || static_cast<uintptr_t>(wParam) != kTickTimer)
                return window::defaultWindowProc(handle, message, wParam, lParam);
            if (--ticksLeft_ <= 0) window::killTimer(handle, kTickTimer);
            raiseEvent(0, {Variant::longValue(++ticksDone_)});
            return 0;
        };
        timerWindow_ = window::OwnedWindow(std::move(options));
    }
    ticksLeft_ = ticks;
    ticksDone_ = 0;
    window::setTimer(timerWindow_.get(), kTickTimer, intervalMs);
}

int32_t TestEventSource::ShowMessage(std::string text, std::string caption, int32_t style) {
    int32_t answer = window::messageBox(text, caption, static_cast<uint32_t>(style));
    raiseEvent(0, {Variant::longValue(answer)});
    return answer;
}

void defineTestSupport(py::module_& m) {
    m.def(
        "_make_test_event_source", [] { return wrap(ObjectRef(makeRef<TestEventSource>()->asDispatch())); },
        "An object of the module's own test class (not part of the library).");
    m.def("_live_objects", &Object::liveObjects, "The number of library objects alive in this module.");
    m.attr("_TestRecord") = recordClass(testRecordInfo());
}

}  // namespace zorbel::python
