// The generic dispatch entry as a script host uses it, over a sample class that has every
// kind of member.

#include <gtest/gtest.h>

#include "tests/support/errors.hpp"

#include "frame/class_builder.hpp"
#include "frame/enumerator.hpp"

namespace zorbel {
namespace {

class Sample final : public Dispatchable<Sample> {
public:
    static const ClassInfo& typeInfo() {
        static const ClassInfo info = ClassBuilder<Sample>("Sample", nullptr)
                                          .stored("Count", &Sample::count)
                                          .stored("Child", &Sample::child)
                                          .property("Name", &Sample::Name, &Sample::setName)
                                          .property("Cell", &Sample::Cell, &Sample::setCell, {"x", "y"})
                                          .method("Scale", &Sample::Scale, {"value", Param::opt("factor", Variant(2))})
                                          .method("Swap", &Sample::Swap, {"a", "b"})
                                          .method("Fire", &Sample::Fire, {"value"})
                                          .property("Item", &Sample::Item, {"index"})
                                          .asDefault()
                                          .property("NewEnum", &Sample::NewEnum)
                                          .asEnumerator()
                                          .event("Changed", {{"lValue", VarType::Long}})
                                          .build();
        return info;
    }

    int16_t count = 0;
    Ref<Sample> child;

    std::string Name() const { return name_; }
    void setName(std::string v) {
        if (v.empty()) throw Error(kUserErrorBase + 7, "empty name", "Zorbel.Sample");
        name_ = std::move(v);
    }
    int32_t Cell(int32_t x, int32_t y) const { return cells_[x][y]; }
    void setCell(int32_t x, int32_t y, int32_t v) { cells_[x][y] = v; }
    double Scale(double value, int16_t factor) { return value * factor; }
    void Swap(std::string& a, int32_t& b) {
        a += "!";
        b = -b;
    }
    void Fire(int32_t value) { raiseEvent(0, {Variant::longValue(value)}); }
    std::string Item(int32_t index) { return "item" + std::to_string(index); }
    Variant NewEnum() { return makeEnumerator({Variant("a"), Variant("b")}); }

private:
    std::string name_;
    int32_t cells_[3][3] = {};
};

// An event sink that records what reaches it.
class Recorder final : public Dispatchable<Recorder> {
public:
    static const ClassInfo& typeInfo() {
        static const ClassInfo info = ClassBuilder<Recorder>("Recorder", nullptr).build();
        return info;
    }
    com::HResult Invoke(int32_t id, uint16_t, Variant* args, size_t count, Variant*, com::ExcepInfo*) override {
        events.push_back({id, std::vector<Variant>(args, args + count)});
        return com::kOk;
    }
    std::vector<std::pair<int32_t, std::vector<Variant>>> events;
};

using zorbel::testing::errorOf;

class Dispatch : public ::testing::Test {
protected:
    Ref<Sample> sample = makeRef<Sample>();
    Variant call(std::string_view member, uint16_t kind, Args args = {}) { return sample->invoke(member, kind, args); }
};

TEST_F(Dispatch, MemberIdentifiersFollowSlotOrder) {
    const ClassInfo& info = Sample::typeInfo();
    auto idOf = [&](const char* name) {
        int32_t id = 1;
        EXPECT_EQ(sample->GetIDOfName(name, &id), com::kOk);
        return id;
    };
    EXPECT_EQ(idOf("count"), 0x40030000);
    EXPECT_EQ(idOf("CHILD"), 0x40030001);
    EXPECT_EQ(idOf("Name"), 0x68030002);
    EXPECT_EQ(idOf("Scale"), 0x60030004);
    EXPECT_EQ(idOf("Item"), 0);
    EXPECT_EQ(idOf("NewEnum"), -4);
    EXPECT_TRUE(info.find(-4)->hidden);
    int32_t id;
    EXPECT_EQ(sample->GetIDOfName("Nope", &id), com::kUnknownName);
}

TEST_F(Dispatch, StoredAndComputedProperties) {
    call("Count", com::kLet, {Variant("12")});
    EXPECT_EQ(call("Count", com::kGet), Variant::integer(12));
    EXPECT_EQ(errorOf([&] { call("Count", com::kLet, {Variant(40000)}); }), err::kOverflow);
    call("Name", com::kLet, {Variant("x")});
    EXPECT_EQ(call("Name", com::kGet), Variant("x"));
    try {
        call("Name", com::kLet, {Variant("")});
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kUserErrorBase + 7);
        EXPECT_EQ(e.source(), "Zorbel.Sample");
    }
    call("Child", com::kSet, {toVariant(makeRef<Sample>())});
    EXPECT_TRUE(sample->child);
    call("Child", com::kSet, {Variant::nothing()});
    EXPECT_FALSE(sample->child);
}

TEST_F(Dispatch, PropertiesWithParameters) {
    call("Cell", com::kLet, {Variant(1), Variant(2), Variant(42)});
    EXPECT_EQ(call("Cell", com::kGet, {Variant(1), Variant(2)}), Variant::longValue(42));
    // Script hosts call such a property as a method too.
    EXPECT_EQ(call("Cell", com::kMethod | com::kGet, {Variant(1), Variant(2)}), Variant::longValue(42));
}

TEST_F(Dispatch, OptionalArgumentsTakeTheirDefaults) {
    EXPECT_EQ(call("Scale", com::kMethod, {Variant(1.5)}), Variant(3.0));
    EXPECT_EQ(call("Scale", com::kMethod, {Variant(1.5), Variant::missing()}), Variant(3.0));
    EXPECT_EQ(call("Scale", com::kMethod, {Variant(1.5), Variant(3)}), Variant(4.5));
}

TEST_F(Dispatch, ByReferenceArgumentsAreWrittenBack) {
    Args args = {Variant("hi"), Variant(5)};
    Variant result = invokeDispatch(sample.get(), "Swap", com::kMethod, args);
    EXPECT_TRUE(result.isEmpty());
    EXPECT_EQ(args[0], Variant("hi!"));
    EXPECT_EQ(args[1], Variant::longValue(-5));
}

TEST_F(Dispatch, DefaultMemberAndEnumerator) {
    Args args = {Variant(3)};
    EXPECT_EQ(invokeDispatch(sample.get(), com::kDispidValue, com::kGet, args), Variant("item3"));
    Args none;
    std::vector<Variant> items = enumerate(invokeDispatch(sample.get(), com::kDispidNewEnum, com::kGet, none));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1], Variant("b"));
}

TEST_F(Dispatch, ClassicErrorsForBadCalls) {
    struct Case {
        const char* member;
        uint16_t kind;
        Args args;
        int32_t expected;
    } cases[] = {
        {"Missing", com::kMethod, {}, err::kMemberNotSupported},
        {"Scale", com::kMethod, {}, err::kArgumentNotOptional},
        {"Scale", com::kMethod, {Variant(1), Variant(2), Variant(3)}, err::kWrongArgumentCount},
        {"Scale", com::kMethod, {Variant("abc")}, err::kTypeMismatch},
        {"Scale", com::kMethod, {Variant(1), Variant(1e6)}, err::kOverflow},
        {"Item", com::kLet, {Variant(1), Variant(2)}, err::kWrongArgumentCount},  // read-only
        {"Child", com::kSet, {Variant(5)}, err::kTypeMismatch},
        {"Child", com::kSet, {Variant(ObjectRef(makeRef<Recorder>()->asDispatch()))}, err::kTypeMismatch},
    };
    for (Case& c : cases) {
        EXPECT_EQ(errorOf([&] { invokeDispatch(sample.get(), c.member, c.kind, c.args); }), c.expected) << c.member;
    }
    // The raw entry reports the same through its result code and ExcepInfo.
    com::ExcepInfo excep;
    EXPECT_EQ(sample->Invoke(0x7777, com::kMethod, nullptr, 0, nullptr, &excep), com::kMemberNotFound);
    EXPECT_EQ(excep.number, err::kMemberNotSupported);
}

TEST_F(Dispatch, EventsReachEverySinkUntilDetached) {
    Ref<Recorder> first = makeRef<Recorder>(), second = makeRef<Recorder>();
    uint32_t c1 = 0, c2 = 0;
    void* raw = nullptr;
    ASSERT_EQ(sample->QueryInterface(com::IID_IEventSource, &raw), com::kOk);
    auto source = Ref<com::IEventSource>::adopt(static_cast<com::IEventSource*>(raw));
    source->Advise(first->asDispatch(), &c1);
    source->Advise(second->asDispatch(), &c2);
    call("Fire", com::kMethod, {Variant(7)});
    EXPECT_EQ(source->Unadvise(c1), com::kOk);
    EXPECT_NE(source->Unadvise(c1), com::kOk);
    call("Fire", com::kMethod, {Variant(8)});
    ASSERT_EQ(first->events.size(), 1u);
    ASSERT_EQ(second->events.size(), 2u);
    EXPECT_EQ(first->events[0].first, 1);
    EXPECT_EQ(second->events[1].second.at(0), Variant::longValue(8));
}

TEST_F(Dispatch, ObjectsWithoutEventsOfferNoEventSource) {
    Ref<Recorder> recorder = makeRef<Recorder>();
    void* raw = nullptr;
    EXPECT_EQ(recorder->QueryInterface(com::IID_IEventSource, &raw), com::kNoInterface);
    EXPECT_EQ(raw, nullptr);
}

TEST(ObjectLifetime, LiveObjectsAreCounted) {
    size_t before = Object::liveObjects();
    {
        Ref<Sample> a = makeRef<Sample>();
        a->child = makeRef<Sample>();
        EXPECT_EQ(Object::liveObjects(), before + 2);
    }
    EXPECT_EQ(Object::liveObjects(), before);
}

}  // namespace
}  // namespace zorbel
