// C++ structs that are public records: their type information and how they cross the dispatch
// layer as record variants, in and out by reference.

#include <gtest/gtest.h>

#include "frame/class_builder.hpp"

namespace zorbel {
namespace {

struct Point {
    std::string label;
    int32_t x = 0;
    int16_t y = 0;
};

const RecordInfo& pointInfo() {
    static const RecordInfo info{"Point", {{"label", VarType::String}, {"x", VarType::Long}, {"y", VarType::Integer}}};
    return info;
}

}  // namespace

template <>
struct RecordTraits<Point> {
    static const RecordInfo& info() { return pointInfo(); }
    static RecordValue toValue(const Point& p) {
        return {&pointInfo(), {Variant(p.label), Variant::longValue(p.x), Variant::integer(p.y)}};
    }
    static Point fromValue(const RecordValue& v) {
        return {v.fields[0].toString(), v.fields[1].toLong(), v.fields[2].toInteger()};
    }
};

namespace {

class Plotter final : public Dispatchable<Plotter> {
public:
    static const ClassInfo& typeInfo() {
        static const ClassInfo info = ClassBuilder<Plotter>("Plotter", nullptr)
                                          .method("Shift", &Plotter::Shift, {"p", "by"})
                                          .method("Make", &Plotter::Make, {"label"})
                                          .method("Label", &Plotter::Label, {"p"})
                                          .build();
        return info;
    }
    void Shift(Point& p, int32_t by) {
        p.x += by;
        p.label += "+";
    }
    Point Make(std::string label) { return {std::move(label), 7, 8}; }
    std::string Label(Point p) { return p.label; }
};

Variant point(std::string label, int32_t x, int16_t y) {
    return Variant::record(RecordTraits<Point>::toValue({std::move(label), x, y}));
}

TEST(Records, ParametersAndResultsDescribeTheRecordType) {
    const MemberInfo* shift = Plotter::typeInfo().find("Shift");
    ASSERT_NE(shift, nullptr);
    EXPECT_EQ(shift->params[0].type, VarType::Record);
    EXPECT_TRUE(shift->params[0].byRef);
    EXPECT_EQ(shift->params[0].record, &pointInfo());
    EXPECT_EQ(shift->params[1].record, nullptr);
    EXPECT_EQ(Plotter::typeInfo().find("Make")->resultType, VarType::Record);
}

TEST(Records, ByReferenceRecordIsWrittenBack) {
    Ref<Plotter> p(new Plotter());
    Args args{point("a", 1, 2), Variant::longValue(10)};
    invokeDispatch(p.get(), "Shift", com::kMethod, args);
    const RecordValue& out = args[0].record();
    EXPECT_EQ(out.info, &pointInfo());
    EXPECT_EQ(out.fields[0], Variant("a+"));
    EXPECT_EQ(out.fields[1], Variant::longValue(11));
    EXPECT_EQ(out.fields[2], Variant::integer(2));
}

TEST(Records, ResultIsARecordValue) {
    Ref<Plotter> p(new Plotter());
    Variant made = p->invoke("Make", com::kMethod, {Variant("m")});
    ASSERT_TRUE(made.isRecord());
    EXPECT_EQ(made.record().fields[0], Variant("m"));
    EXPECT_EQ(p->invoke("Label", com::kMethod, {made}), Variant("m"));
}

TEST(Records, ValuesThatAreNotThisRecordAreATypeMismatch) {
    static const RecordInfo other{"Other", {{"a", VarType::String}}};
    Ref<Plotter> p(new Plotter());
    const Variant wrong[] = {Variant("text"), Variant::longValue(3), Variant::record({&other, {Variant("x")}}),
                             Variant::record({&pointInfo(), {Variant("too short")}})};
    for (const Variant& v : wrong) {
        try {
            p->invoke("Label", com::kMethod, {v});
            ADD_FAILURE() << "accepted a " << varTypeName(v.type());
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kTypeMismatch);
        }
    }
}

}  // namespace
}  // namespace zorbel
