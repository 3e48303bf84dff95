// The class library's streams: the abstract stream, files, memory blocks and strings.
//
// Sizes and positions are 64-bit. A single Read or Write moves at most what an int can count; the
// *Buffer forms take 64-bit counts and raise EReadError / EWriteError when fewer bytes moved.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/Types.h"

#include <cstdint>
#include <string>
#include <vector>

// Seek origins, in both forms the class library offers.
inline constexpr WORD soFromBeginning = 0;
inline constexpr WORD soFromCurrent = 1;
inline constexpr WORD soFromEnd = 2;
enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File modes. fmCreate creates or truncates and opens for reading and writing; the share flags are
// accepted and ignored (the platform has no mandatory sharing).
inline constexpr WORD fmCreate = 0xFF00;
inline constexpr WORD fmOpenRead = 0x0000;
inline constexpr WORD fmOpenWrite = 0x0001;
inline constexpr WORD fmOpenReadWrite = 0x0002;
inline constexpr WORD fmShareCompat = 0x0000;
inline constexpr WORD fmShareExclusive = 0x0010;
inline constexpr WORD fmShareDenyWrite = 0x0020;
inline constexpr WORD fmShareDenyRead = 0x0030;
inline constexpr WORD fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Return the number of bytes moved: 0 at the end, never negative.
    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    // Returns the new position, or -1 when the stream cannot go there (it then stays where it was).
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    std::int64_t Seek(std::int64_t offset, int origin);

    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);

    std::int64_t Position();
    void SetPosition(std::int64_t position);
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size);

    // Copies count bytes from source's position; count 0 copies all of source from its start.
    // Returns the bytes copied; a short source raises EReadError.
    std::int64_t CopyFrom(TStream* source, std::int64_t count);
};

class TFileStream : public TStream {
public:
    // Raises EFCreateError or EFOpenError: "Cannot create file "name". reason".
    TFileStream(const std::string& fileName, WORD mode);
    TFileStream(const std::string& fileName, WORD mode, DWORD rights);
    ~TFileStream() override;

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    using TStream::Seek;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;

    const std::string& FileName() const { return fileName_; }
    int Handle() const { return fd_; }

private:
    std::string fileName_;
    int fd_ = -1;
};

class TMemoryStream : public TStream {
public:
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    using TStream::Seek;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;

    // nullptr while the stream is empty.
    void* Memory() { return data_.empty() ? nullptr : data_.data(); }
    void Clear();
    void LoadFromStream(TStream* source);
    void SaveToStream(TStream* destination);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

private:
    std::vector<unsigned char> data_;
    std::int64_t position_ = 0;
};

class TStringStream : public TStream {
public:
    explicit TStringStream(std::string data = std::string()) : data_(std::move(data)) {}

    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    using TStream::Seek;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;

    const std::string& DataString() const { return data_; }
    // Up to count bytes from the position.
    std::string ReadString(int count);
    void WriteString(const std::string& text);

private:
    std::string data_;
    std::int64_t position_ = 0;
};
