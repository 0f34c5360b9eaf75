#pragma once

// The VST 3 binary interface as this module speaks it, first its common ground: result codes,
// interface identifiers, the reference-counted base interface, streams and the class factory.
// Declared from the format's published interface definitions; layouts use natural alignment,
// which is what the format asks for on Linux and on 32- and 64-bit Windows.

#include <array>
#include <cstdint>

#ifdef _WIN32
#define VST3_API __stdcall
#else
#define VST3_API
#endif

namespace Korvatune::Vst3 {

using tresult = std::int32_t;
using TBool = std::uint8_t;
using char16 = char16_t;
using String128 = char16[128];
using FIDString = const char*;

// Windows hosts speak COM's result codes, the others small numbers.
#ifdef _WIN32
inline constexpr tresult kNoInterface = static_cast<tresult>(0x80004002L);
inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057L);
inline constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001L);
#else
inline constexpr tresult kNoInterface = -1;
inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kInvalidArgument = 2;
inline constexpr tresult kNotImplemented = 3;
#endif
inline constexpr tresult kResultTrue = kResultOk;

// Sixteen bytes that name an interface or a class. Written as four 32-bit numbers; on Windows
// the bytes follow COM's GUID layout, elsewhere the numbers' big-endian bytes.
using Uid = std::array<char, 16>;

constexpr Uid makeUid(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    const auto byte = [](std::uint32_t value, int shift) {
        return static_cast<char>((value >> shift) & 0xFF);
    };
#ifdef _WIN32
    return {byte(a, 0),  byte(a, 8),  byte(a, 16), byte(a, 24), byte(b, 16), byte(b, 24),
            byte(b, 0),  byte(b, 8),  byte(c, 24), byte(c, 16), byte(c, 8),  byte(c, 0),
            byte(d, 24), byte(d, 16), byte(d, 8),  byte(d, 0)};
#else
    return {byte(a, 24), byte(a, 16), byte(a, 8),  byte(a, 0),  byte(b, 24), byte(b, 16),
            byte(b, 8),  byte(b, 0),  byte(c, 24), byte(c, 16), byte(c, 8),  byte(c, 0),
            byte(d, 24), byte(d, 16), byte(d, 8),  byte(d, 0)};
#endif
}

bool sameUid(const char* given, const Uid& uid);

class FUnknown {
public:
    static constexpr Uid iid = makeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
    virtual tresult VST3_API queryInterface(const char* iid, void** object) = 0;
    virtual std::uint32_t VST3_API addRef() = 0;
    virtual std::uint32_t VST3_API release() = 0;

protected:
    ~FUnknown() = default;
};

class IBStream : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
    enum SeekMode : std::int32_t { kIBSeekSet = 0, kIBSeekCur, kIBSeekEnd };
    virtual tresult VST3_API read(void* buffer, std::int32_t bytes, std::int32_t* bytesRead) = 0;
    virtual tresult VST3_API write(void* buffer, std::int32_t bytes,
                                   std::int32_t* bytesWritten) = 0;
    virtual tresult VST3_API seek(std::int64_t position, std::int32_t mode,
                                  std::int64_t* result) = 0;
    virtual tresult VST3_API tell(std::int64_t* position) = 0;

protected:
    ~IBStream() = default;
};

class IPluginBase : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
    virtual tresult VST3_API initialize(FUnknown* context) = 0;
    virtual tresult VST3_API terminate() = 0;

protected:
    ~IPluginBase() = default;
};

struct PFactoryInfo {
    enum Flags : std::int32_t { kUnicode = 1 << 4 };
    char vendor[64];
    char url[256];
    char email[128];
    std::int32_t flags;
};

struct PClassInfo {
    static constexpr std::int32_t kManyInstances = 0x7FFFFFFF;
    char cid[16];
    std::int32_t cardinality;
    char category[32];
    char name[64];
};

struct PClassInfo2 {
    char cid[16];
    std::int32_t cardinality;
    char category[32];
    char name[64];
    std::uint32_t classFlags;
    char subCategories[128];
    char vendor[64];
    char version[64];
    char sdkVersion[64];
};

struct PClassInfoW {
    char cid[16];
    std::int32_t cardinality;
    char category[32];
    char16 name[64];
    std::uint32_t classFlags;
    char subCategories[128];
    char16 vendor[64];
    char16 version[64];
    char16 sdkVersion[64];
};

class IPluginFactory : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
    virtual tresult VST3_API getFactoryInfo(PFactoryInfo* info) = 0;
    virtual std::int32_t VST3_API countClasses() = 0;
    virtual tresult VST3_API getClassInfo(std::int32_t index, PClassInfo* info) = 0;
    virtual tresult VST3_API createInstance(const char* cid, const char* iid, void** object) = 0;

protected:
    ~IPluginFactory() = default;
};

class IPluginFactory2 : public IPluginFactory {
public:
    static constexpr Uid iid = makeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
    virtual tresult VST3_API getClassInfo2(std::int32_t index, PClassInfo2* info) = 0;

protected:
    ~IPluginFactory2() = default;
};

class IPluginFactory3 : public IPluginFactory2 {
public:
    static constexpr Uid iid = makeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
    virtual tresult VST3_API getClassInfoUnicode(std::int32_t index, PClassInfoW* info) = 0;
    virtual tresult VST3_API setHostContext(FUnknown* context) = 0;

protected:
    ~IPluginFactory3() = default;
};

static_assert(sizeof(PFactoryInfo) == 452);
static_assert(sizeof(PClassInfo) == 116);
static_assert(sizeof(PClassInfo2) == 440);
static_assert(sizeof(PClassInfoW) == 696);

} // namespace Korvatune::Vst3
