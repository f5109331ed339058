#pragma once
// ClassBuilder: describes a scriptable class's members once, in slot order, from plain C++
// member functions and fields. Parameter types, by-reference parameters (non-const lvalue
// references) and result types come from the C++ signatures; names, optional defaults and help
// texts are given here. Member identifiers follow the slot order: stored properties from
// 0x40030000, property procedures from 0x68030000, methods from 0x60030000, with one slot
// counter for the class; the default member gets 0 and the enumerator -4.

#include <initializer_list>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "frame/object.hpp"
#include "frame/typeinfo.hpp"

namespace zorbel {

// How one C++ type crosses the dispatch layer.
template <class T, class = void>
struct ArgTraits;

template <>
struct ArgTraits<Variant> {
    static constexpr VarType type = VarType::Variant;
    static Variant from(const Variant& v) { return v; }
    static Variant to(const Variant& v) { return v; }
};
template <>
struct ArgTraits<bool> {
    static constexpr VarType type = VarType::Boolean;
    static bool from(const Variant& v) { return v.toBool(); }
    static Variant to(bool v) { return Variant(v); }
};
template <>
struct ArgTraits<int16_t> {
    static constexpr VarType type = VarType::Integer;
    static int16_t from(const Variant& v) { return v.toInteger(); }
    static Variant to(int16_t v) { return Variant::integer(v); }
};
template <>
struct ArgTraits<int32_t> {
    static constexpr VarType type = VarType::Long;
    static int32_t from(const Variant& v) { return v.toLong(); }
    static Variant to(int32_t v) { return Variant::longValue(v); }
};
template <>
struct ArgTraits<uint8_t> {
    static constexpr VarType type = VarType::Byte;
    static uint8_t from(const Variant& v) { return v.toByte(); }
    static Variant to(uint8_t v) { return Variant::byte(v); }
};
template <>
struct ArgTraits<float> {
    static constexpr VarType type = VarType::Single;
    static float from(const Variant& v) { return v.toSingle(); }
    static Variant to(float v) { return Variant::single(v); }
};
template <>
struct ArgTraits<double> {
    static constexpr VarType type = VarType::Double;
    static double from(const Variant& v) { return v.toDouble(); }
    static Variant to(double v) { return Variant(v); }
};
template <>
struct ArgTraits<std::string> {
    static constexpr VarType type = VarType::String;
    static std::string from(const Variant& v) { return v.toString(); }
    static Variant to(const std::string& v) { return Variant(v); }
};
template <>
struct ArgTraits<ObjectRef> {
    static constexpr VarType type = VarType::Object;
    static ObjectRef from(const Variant& v) { return v.toObject(); }
    static Variant to(const ObjectRef& v) { return Variant(v); }
};
template <class T>
struct ArgTraits<Ref<T>, std::enable_if_t<std::is_base_of_v<Object, T>>> {
    static constexpr VarType type = VarType::Object;
    static Ref<T> from(const Variant& v) { return objectAs<T>(v); }
    static Variant to(const Ref<T>& v) { return toVariant(v); }
};
// Enumerations travel as 32-bit values.
template <class E>
struct ArgTraits<E, std::enable_if_t<std::is_enum_v<E>>> {
    static constexpr VarType type = VarType::Long;
    static E from(const Variant& v) { return static_cast<E>(v.toLong()); }
    static Variant to(E v) { return Variant::longValue(static_cast<int32_t>(v)); }
};

// Public records: a C++ struct crosses the dispatch layer as a Record variant once
// RecordTraits<T> is specialised for it with
//   static const RecordInfo& info();
//   static RecordValue toValue(const T& value);
//   static T fromValue(const RecordValue& value);  // may raise 13 for a field that does not convert
template <class T>
struct RecordTraits;

template <class T, class = void>
struct IsRecord : std::false_type {};
template <class T>
struct IsRecord<T, std::void_t<decltype(RecordTraits<T>::info())>> : std::true_type {};

template <class T>
struct ArgTraits<T, std::enable_if_t<IsRecord<T>::value>> {
    static constexpr VarType type = VarType::Record;
    // A record of another type (or a value that is no record) is a type mismatch.
    static T from(const Variant& v) {
        const RecordInfo& info = RecordTraits<T>::info();
        const RecordValue& value = v.record();
        bool sameType = value.info == &info || (value.info && value.info->name == info.name);
        if (!sameType || value.fields.size() != info.fields.size()) throw Error::runtime(err::kTypeMismatch);
        return RecordTraits<T>::fromValue(value);
    }
    static Variant to(const T& v) { return Variant::record(RecordTraits<T>::toValue(v)); }
};

namespace detail {
// The record type of a parameter, for type information; nullptr for other types.
template <class T>
const RecordInfo* recordInfoOf() {
    if constexpr (IsRecord<T>::value) return &RecordTraits<T>::info();
    else return nullptr;
}
}  // namespace detail

// A parameter's name, and for optional ones the default.
struct Param {
    Param(const char* name) : name(name) {}
    Param(std::string name) : name(std::move(name)) {}
    static Param opt(std::string name, Variant defaultValue = Variant()) {
        Param p(std::move(name));
        p.optional = true;
        p.defaultValue = std::move(defaultValue);
        return p;
    }
    std::string name;
    bool optional = false;
    Variant defaultValue;
};

namespace detail {

template <class P>
using Plain = std::remove_cv_t<std::remove_reference_t<P>>;

template <class P>
constexpr bool kIsByRef = std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;

template <class... P>
std::vector<ParamInfo> describeParams(const std::vector<Param>& names) {
    std::vector<ParamInfo> out;
    VarType types[] = {ArgTraits<Plain<P>>::type..., VarType::Empty};
    bool byRefs[] = {kIsByRef<P>..., false};
    const RecordInfo* records[] = {recordInfoOf<Plain<P>>()..., nullptr};
    for (size_t i = 0; i < sizeof...(P); ++i) {
        ParamInfo info;
        info.name = i < names.size() ? names[i].name : "arg" + std::to_string(i + 1);
        info.type = types[i];
        info.byRef = byRefs[i];
        info.record = records[i];
        if (i < names.size() && names[i].optional) {
            info.optional = true;
            // The default is stored already converted to the parameter's type.
            const Variant& given = names[i].defaultValue;
            info.defaultValue = info.type == VarType::Variant ? given : given.convertTo(info.type);
        }
        out.push_back(std::move(info));
    }
    return out;
}

// Calls fn with arguments converted from args; writes by-reference arguments back into args.
template <class C, class R, class Fn, class... P, size_t... I>
Variant callMember(C& self, Fn fn, Args& args, std::index_sequence<I...>) {
    std::tuple<Plain<P>...> locals{ArgTraits<Plain<P>>::from(args[I])...};
    Variant result;
    if constexpr (std::is_void_v<R>) {
        (self.*fn)(std::get<I>(locals)...);
    } else {
        result = ArgTraits<Plain<R>>::to((self.*fn)(std::get<I>(locals)...));
    }
    ((kIsByRef<P> ? (void)(args[I] = ArgTraits<Plain<P>>::to(std::get<I>(locals))) : (void)0), ...);
    return result;
}

template <class C, class R, class... P>
struct Signature {
    using Result = R;
    static constexpr size_t arity = sizeof...(P);
    static std::vector<ParamInfo> params(const std::vector<Param>& names) { return describeParams<P...>(names); }
    template <class Fn>
    static MemberInfo::Getter wrap(Fn fn) {
        return [fn](Object& self, Args& args) -> Variant {
            return callMember<C, R, Fn, P...>(static_cast<C&>(self), fn, args, std::index_sequence_for<P...>{});
        };
    }
    static VarType resultType() {
        if constexpr (std::is_void_v<R>) return VarType::Empty;
        else return ArgTraits<Plain<R>>::type;
    }
};

template <class F>
struct SignatureOf;
template <class C, class R, class... P>
struct SignatureOf<R (C::*)(P...)> : Signature<C, R, P...> {};
template <class C, class R, class... P>
struct SignatureOf<R (C::*)(P...) const> : Signature<C, R, P...> {};

}  // namespace detail

template <class C>
class ClassBuilder {
public:
    // identity may be null for scriptable classes that are not in a class table.
    ClassBuilder(std::string name, const ClassIdentity* identity) {
        info_.name = std::move(name);
        info_.identity = identity;
    }

    // A public field of the class.
    template <class T>
    ClassBuilder& stored(std::string name, T C::*field, std::string help = {}) {
        MemberInfo m = newMember(std::move(name), MemberCategory::Stored, std::move(help));
        m.resultType = m.valueType = ArgTraits<T>::type;
        m.get = [field](Object& self, Args&) { return ArgTraits<T>::to(static_cast<C&>(self).*field); };
        MemberInfo::Putter put = [field](Object& self, Args& args) {
            static_cast<C&>(self).*field = ArgTraits<T>::from(args.back());
        };
        m.kinds = com::kGet;
        if (ArgTraits<T>::type == VarType::Object) {
            m.set = put, m.kinds |= com::kSet;
        } else {
            m.let = put, m.kinds |= com::kLet;
        }
        return add(std::move(m));
    }

    // A property with a get procedure and optionally a let (values) or set (objects) procedure.
    // The put procedure takes the get's parameters followed by the value.
    template <class Get>
    ClassBuilder& property(std::string name, Get get, std::vector<Param> params = {}, std::string help = {}) {
        return property(std::move(name), get, nullptr, std::move(params), std::move(help));
    }
    template <class Get, class Put>
    ClassBuilder& property(std::string name, Get get, Put put, std::vector<Param> params = {}, std::string help = {}) {
        MemberInfo m = newMember(std::move(name), MemberCategory::Property, std::move(help));
        if constexpr (!std::is_same_v<Get, std::nullptr_t>) {
            using S = detail::SignatureOf<Get>;
            m.params = S::params(params);
            m.resultType = S::resultType();
            m.get = S::wrap(get);
            m.kinds |= com::kGet;
        }
        if constexpr (!std::is_same_v<Put, std::nullptr_t>) {
            using S = detail::SignatureOf<Put>;
            std::vector<ParamInfo> putParams = S::params(params);
            m.valueType = putParams.back().type;
            putParams.pop_back();
            if (m.kinds == 0) m.params = putParams;
            auto wrapped = S::wrap(put);
            MemberInfo::Putter putter = [wrapped](Object& self, Args& args) { wrapped(self, args); };
            if (m.valueType == VarType::Object) {
                m.set = putter, m.kinds |= com::kSet;
            } else {
                m.let = putter, m.kinds |= com::kLet;
            }
        }
        return add(std::move(m));
    }

    // A property of any value whose let stores values and whose set stores object references.
    template <class Get, class Let, class Set>
    ClassBuilder& propertyLetSet(std::string name, Get get, Let let, Set set, std::vector<Param> params = {},
                                 std::string help = {}) {
        property(std::move(name), get, let, params, std::move(help));
        using S = detail::SignatureOf<Set>;
        auto wrapped = S::wrap(set);
        MemberInfo& m = info_.members.back();
        m.set = [wrapped](Object& self, Args& args) { wrapped(self, args); };
        m.kinds |= com::kSet;
        return *this;
    }

    template <class Fn>
    ClassBuilder& method(std::string name, Fn fn, std::vector<Param> params = {}, std::string help = {}) {
        using S = detail::SignatureOf<Fn>;
        MemberInfo m = newMember(std::move(name), MemberCategory::Method, std::move(help));
        m.params = S::params(params);
        m.resultType = S::resultType();
        m.method = S::wrap(fn);
        m.kinds = com::kMethod;
        return add(std::move(m));
    }

    // Places the next member at a slot position, for classes whose later slots are filled in
    // before their earlier ones; identifiers stay those of the complete slot order.
    ClassBuilder& atSlot(int32_t slot) {
        slot_ = slot;
        return *this;
    }

    // Marks the most recently added member as the default member (identifier 0).
    ClassBuilder& asDefault() {
        info_.members.back().id = com::kDispidValue;
        return *this;
    }
    // Marks the most recently added member as the hidden enumerator (identifier -4).
    ClassBuilder& asEnumerator() {
        info_.members.back().id = com::kDispidNewEnum;
        info_.members.back().hidden = true;
        return *this;
    }

    // An event of the class, in slot order; its arguments are described by name and type.
    ClassBuilder& event(std::string name, std::vector<std::pair<std::string, VarType>> params = {}) {
        EventInfo e;
        e.name = std::move(name);
        e.id = static_cast<int32_t>(info_.events.size()) + 1;
        for (auto& [paramName, type] : params) {
            ParamInfo param;
            param.name = paramName;
            param.type = type;
            e.params.push_back(std::move(param));
        }
        info_.events.push_back(std::move(e));
        return *this;
    }

    ClassInfo build() {
        info_.index();
        return std::move(info_);
    }

private:
    MemberInfo newMember(std::string name, MemberCategory category, std::string help) {
        MemberInfo m;
        m.name = std::move(name);
        m.category = category;
        m.help = std::move(help);
        int32_t base = category == MemberCategory::Stored     ? 0x40030000
                       : category == MemberCategory::Property ? 0x68030000
                                                              : 0x60030000;
        m.id = base + slot_++;
        return m;
    }
    ClassBuilder& add(MemberInfo m) {
        info_.members.push_back(std::move(m));
        return *this;
    }

    ClassInfo info_;
    int32_t slot_ = 0;
};

}  // namespace zorbel
