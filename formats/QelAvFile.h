// Recorded files: frames back to back, each a 32-byte FrmHdr, the 64-byte info block and the two padded
// payloads; no file header. The same format comes from the recorder's disk, from backups and from saved
// streams.
#pragma once

#include "formats/QelAvFrame.h"
#include "formats/QelFrameIndex.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

inline constexpr DWORD kFrmHdrStartCode = 0x12345678;
inline constexpr std::size_t kFrmHdrSize = 32;
inline constexpr DWORD kQelFileMaxBytes = 0x3C00000;
// Readers refuse a payload 1 of this size or more.
inline constexpr DWORD kQelMaxPayload1 = 112641;
// Filler blocks that pad the last file of a backup.
inline constexpr DWORD kQelFillerCode = 0x12347F01;
inline constexpr DWORD kQelFillerWord8 = 51200;
inline constexpr std::size_t kQelFillerBlockSize = 512;
inline constexpr DWORD kQelBackupPadBytes = 0x200000;

struct FrmHdr {
    DWORD startCode = kFrmHdrStartCode;
    DWORD frameTime = 0;
    DWORD length = 0; // bytes after the header: 64 + pad32(payload 1) + pad32(payload 2)
    DWORD fileStartTime = 0;

    void Encode(BYTE* out) const; // 32 bytes
    // Raises EQelFormatError for a start code other than 0x12345678 or a length that cannot hold an info
    // block or is larger than any frame.
    static FrmHdr Decode(const BYTE* data, std::size_t length);
};

// One 512-byte filler block.
std::vector<BYTE> QelFillerBlock();

// A frame as stored: its header and its frame. `offset` is where its header starts in the file.
struct QelRecordedFrame {
    FrmHdr header;
    QelAvFrame frame;
    DWORD offset = 0;
};

// The bytes of one stored frame. Raises EQelFormatError when the payload area is shorter than the padded
// payloads.
std::vector<BYTE> EncodeRecordedFrame(const QelAvFrame& frame, DWORD fileStartTime);

// Writes frames into recorded files under `folder` (which must exist), one hour folder per file named by
// the file's first frame. A file is closed after kQelFileMaxFrames frames or once it reaches
// kQelFileMaxBytes; its index files are written when it closes. File errors raise EFCreateError or
// EWriteError.
class QelAvFileWriter {
public:
    explicit QelAvFileWriter(std::string folder);
    ~QelAvFileWriter();
    QelAvFileWriter(const QelAvFileWriter&) = delete;
    QelAvFileWriter& operator=(const QelAvFileWriter&) = delete;

    void AddFrame(const QelAvFrame& frame);
    // Closes the open file; with `pad`, first fills it with filler blocks up to kQelBackupPadBytes.
    void Finish(bool pad);

    bool FileOpen() const { return file_ != nullptr; }
    DWORD FileOffset() const { return offset_; }
    const std::string& CurrentPath() const { return path_; }
    // Every file closed so far, in order.
    const std::vector<std::string>& Files() const { return files_; }

private:
    void OpenFor(DWORD time);
    void CloseFile();

    std::string folder_;
    std::FILE* file_ = nullptr;
    std::string path_;
    DWORD fileStart_ = 0;
    DWORD offset_ = 0;
    QelFrameIndex index_;
    std::vector<std::string> files_;
};

// Reads a recorded file frame by frame. Next() returns false at the end of the file or at the first
// block whose start code is not 0x12345678 (filler); it raises EQelFormatError for a frame that is cut
// short or malformed. Opening raises EFOpenError.
class QelAvFileReader {
public:
    explicit QelAvFileReader(const std::string& path);
    ~QelAvFileReader();
    QelAvFileReader(const QelAvFileReader&) = delete;
    QelAvFileReader& operator=(const QelAvFileReader&) = delete;

    bool Next(QelRecordedFrame& out);
    // Positions the reader at a frame offset taken from an ".fdx" index.
    void Seek(DWORD offset);
    DWORD Offset() const { return offset_; }

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    DWORD offset_ = 0;
};
