// A host that knows the libraries only by their files: it registers them with the
// registration program, then creates classes through the class records and dlopen, and drives
// them through the dispatch entry alone.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "frame/activation.hpp"
#include "frame/enumerator.hpp"
#include "frame/object.hpp"
#include "platform/registry/registry.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel {
namespace {

int runRegister(std::vector<std::string> args) {
    pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        std::string program = ZORBEL_REGISTER_PROGRAM;
        argv.push_back(program.data());
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Variant call(const ObjectRef& target, std::string_view member, uint16_t kind, Args args = {}) {
    return invokeDispatch(target.get(), member, kind, args);
}

com::HResult canUnload(const char* library) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return com::kFail;
    auto fn = reinterpret_cast<com::DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
    com::HResult result = fn ? fn() : com::kFail;
    dlclose(handle);
    return result;
}

class ComponentClient : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZORBEL_ROOT", root.path().c_str(), 1);
        ASSERT_EQ(runRegister({"/s", ZORBEL_LIBRARY_FILE, BRAXTEL_LIBRARY_FILE}), 0);
    }
    testing::TempFolder root;
};

TEST_F(ComponentClient, RegistrationWritesTheClassRecords) {
    using registry::Hive;
    auto clsid = activation::clsidFromProgId("ZorbelKit.VoiceUsers");
    ASSERT_TRUE(clsid);
    EXPECT_EQ(clsid->toString(), "{1A1E168F-4C11-11D2-9958-00C026580632}");
    std::string key = "CLSID\\" + clsid->toString() + "\\InprocServer32";
    EXPECT_EQ(registry::readValue(Hive::ClassesRoot, key, "ThreadingModel")->asText(), "Apartment");
    EXPECT_NE(registry::readValue(Hive::ClassesRoot, key, "")->asText().find("libZorbel"), std::string::npos);
    EXPECT_TRUE(registry::keyExists(Hive::ClassesRoot, "Interface\\{3D4D0069-3C6B-11D3-8868-0080C84C940C}"));
    EXPECT_TRUE(registry::keyExists(Hive::ClassesRoot, "TypeLib\\{1A1E1690-4C11-11D2-9958-00C026580632}\\1.42"));
    EXPECT_TRUE(registry::keyExists(Hive::ClassesRoot, "CLSID\\{E7B1874E-CB29-4AC4-800A-DC5C156BEC9B}"));
    // Classes only handed out by their collections have no creation records.
    EXPECT_FALSE(activation::clsidFromProgId("ZorbelKit.Voice"));

    ASSERT_EQ(runRegister({"/u", "/s", ZORBEL_LIBRARY_FILE}), 0);
    EXPECT_FALSE(activation::clsidFromProgId("ZorbelKit.VoiceUsers"));
    EXPECT_FALSE(registry::keyExists(Hive::ClassesRoot, "TypeLib\\{1A1E1690-4C11-11D2-9958-00C026580632}"));
    EXPECT_TRUE(activation::clsidFromProgId("Braxtel.API"));
}

TEST_F(ComponentClient, VoiceUsersThroughRecordsAndDispatchOnly) {
    ObjectRef byProgId = activation::createRegistered(*activation::clsidFromProgId("ZorbelKit.VoiceUsers"));
    ObjectRef byClsid = activation::createRegistered(com::Guid::of("{1A1E168F-4C11-11D2-9958-00C026580632}"));
    EXPECT_NE(byProgId, byClsid);
    EXPECT_EQ(call(byClsid, "Count", com::kGet), Variant::longValue(0));

    ObjectRef users = byProgId;
    ObjectRef first = call(users, "Add", com::kMethod).toObject();
    ObjectRef second = call(users, "Add", com::kMethod).toObject();
    call(second, "UserName", com::kLet, {Variant("Ada")});
    EXPECT_EQ(call(users, "Count", com::kGet), Variant::longValue(2));
    EXPECT_EQ(call(users, "Item", com::kGet, {Variant(2)}).toObject(), second);

    Args none;
    std::vector<Variant> walked = enumerate(invokeDispatch(users.get(), com::kDispidNewEnum, com::kGet, none));
    ASSERT_EQ(walked.size(), 2u);
    EXPECT_EQ(walked[0].toObject(), first);

    call(users, "Remove", com::kMethod, {Variant(1)});
    EXPECT_EQ(call(users, "Count", com::kGet), Variant::longValue(1));
    Args one = {Variant(1)};
    ObjectRef remaining = invokeDispatch(users.get(), com::kDispidValue, com::kGet, one).toObject();
    EXPECT_EQ(call(remaining, "UserName", com::kGet), Variant("Ada"));
    try {
        call(users, "Item", com::kGet, {Variant(5)});
        FAIL() << "no error for a bad position";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kSubscriptOutOfRange);
    }
}

TEST_F(ComponentClient, ClassesWithoutAnImplementationFailHonestly) {
    for (const char* progId : {"ZorbelKit.MediaFile", "Braxtel.API"}) {
        auto clsid = activation::clsidFromProgId(progId);
        ASSERT_TRUE(clsid) << progId;
        EXPECT_THROW(activation::createRegistered(*clsid), Error) << progId;
    }
    EXPECT_THROW(activation::createRegistered(com::Guid::of("{00000000-1111-2222-3333-444444444444}")), Error);
}

TEST_F(ComponentClient, UnloadTestCountsObjectsAndFactoryLocks) {
    ObjectRef users = activation::createRegistered(*activation::clsidFromProgId("ZorbelKit.VoiceUsers"));
    ObjectRef user = call(users, "Add", com::kMethod).toObject();
    EXPECT_EQ(canUnload(ZORBEL_LIBRARY_FILE), com::kFalse);
    users.reset();
    EXPECT_EQ(canUnload(ZORBEL_LIBRARY_FILE), com::kFalse);  // the child is still held
    user.reset();
    EXPECT_EQ(canUnload(ZORBEL_LIBRARY_FILE), com::kOk);

    void* handle = dlopen(ZORBEL_LIBRARY_FILE, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    auto getClassObject = reinterpret_cast<com::DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    com::Guid clsid = *activation::clsidFromProgId("ZorbelKit.Voices");
    void* raw = nullptr;
    ASSERT_EQ(getClassObject(&clsid, &com::IID_IClassFactory, &raw), com::kOk);
    auto factory = Ref<com::IClassFactory>::adopt(static_cast<com::IClassFactory*>(raw));
    EXPECT_EQ(canUnload(ZORBEL_LIBRARY_FILE), com::kFalse);  // a live factory
    factory->LockServer(true);
    factory.reset();
    EXPECT_EQ(canUnload(ZORBEL_LIBRARY_FILE), com::kFalse);  // a lock
    ASSERT_EQ(getClassObject(&clsid, &com::IID_IClassFactory, &raw), com::kOk);
    factory = Ref<com::IClassFactory>::adopt(static_cast<com::IClassFactory*>(raw));
    factory->LockServer(false);
    factory.reset();
    EXPECT_EQ(canUnload(ZORBEL_LIBRARY_FILE), com::kOk);
    dlclose(handle);
}

}  // namespace
}  // namespace zorbel
