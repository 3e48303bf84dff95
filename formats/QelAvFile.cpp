#include "formats/QelAvFile.h"

#include "formats/ByteOrder.h"
#include "formats/FormatError.h"
#include "formats/QelNames.h"
#include "platform/core/StrUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

void FrmHdr::Encode(BYTE* out) const {
    std::fill_n(out, kFrmHdrSize, 0);
    PutU32(out, startCode);
    PutU32(out + 4, frameTime);
    PutU32(out + 8, length);
    PutU32(out + 12, fileStartTime);
}

FrmHdr FrmHdr::Decode(const BYTE* data, std::size_t length) {
    if (data == nullptr || length < kFrmHdrSize) throw EQelFormatError("frame header: too short");
    FrmHdr h{GetU32(data), GetU32(data + 4), GetU32(data + 8), GetU32(data + 12)};
    if (h.startCode != kFrmHdrStartCode)
        throw EQelFormatError(Format("frame header: start code 0x%08X", unsigned(h.startCode)));
    if (h.length < kQelFrameInfoSize || h.length > kQelAvMaxFrameSize)
        throw EQelFormatError(Format("frame header: length %u", unsigned(h.length)));
    return h;
}

std::vector<BYTE> QelFillerBlock() {
    std::vector<BYTE> block(kQelFillerBlockSize, 0);
    PutU32(block.data(), kQelFillerCode);
    PutU32(block.data() + 8, kQelFillerWord8);
    return block;
}

std::vector<BYTE> EncodeRecordedFrame(const QelAvFrame& frame, DWORD fileStartTime) {
    const std::uint64_t pad1 = Pad32(frame.info.payloadLen1);
    const std::uint64_t pads = pad1 + Pad32(frame.info.payloadLen2);
    if (pads > frame.payload.size())
        throw EQelFormatError(Format("frame: payloads need %llu bytes, %zu given",
                                     static_cast<unsigned long long>(pads), frame.payload.size()));
    const FrmHdr header{kFrmHdrStartCode, frame.info.frameTime, static_cast<DWORD>(kQelFrameInfoSize + pads),
                        fileStartTime};
    std::vector<BYTE> out(kFrmHdrSize + kQelFrameInfoSize + pads);
    header.Encode(out.data());
    frame.info.Encode(out.data() + kFrmHdrSize);
    std::copy_n(frame.payload.begin(), pads, out.begin() + kFrmHdrSize + kQelFrameInfoSize);
    return out;
}

QelAvFileWriter::QelAvFileWriter(std::string folder) : folder_(std::move(folder)) {
    if (!folder_.empty() && folder_.back() == '/') folder_.pop_back();
}

QelAvFileWriter::~QelAvFileWriter() {
    try {
        Finish(false);
    } catch (const Exception&) {
        // A destructor cannot report; callers that care call Finish themselves.
    }
}

void QelAvFileWriter::OpenFor(DWORD time) {
    const std::string hour = folder_ + "/" + QelHourFolderName(time);
    if (::mkdir(hour.c_str(), 0777) != 0 && errno != EEXIST)
        throw EFCreateError(Format("Cannot create folder \"%s\". %s", hour.c_str(), std::strerror(errno)));
    path_ = hour + "/" + QelRecordingName(time);
    file_ = std::fopen(path_.c_str(), "wb");
    if (!file_)
        throw EFCreateError(Format("Cannot create file \"%s\". %s", path_.c_str(), std::strerror(errno)));
    fileStart_ = time;
    offset_ = 0;
    index_.Clear();
}

void QelAvFileWriter::CloseFile() {
    std::FILE* f = file_;
    file_ = nullptr;
    const bool closed = std::fclose(f) == 0;
    files_.push_back(path_);
    if (!closed) throw EWriteError(Format("Cannot write \"%s\"", path_.c_str()));
    index_.Write(path_);
}

void QelAvFileWriter::AddFrame(const QelAvFrame& frame) {
    const std::vector<BYTE> record = EncodeRecordedFrame(frame, file_ ? fileStart_ : frame.info.frameTime);
    if (!file_) OpenFor(frame.info.frameTime);
    if (std::fwrite(record.data(), 1, record.size(), file_) != record.size())
        throw EWriteError(Format("Cannot write \"%s\"", path_.c_str()));
    index_.Add(frame.info.frameTime, offset_,
               QelMarksWord(frame.info.kind, frame.info.eventState, frame.info.channel));
    offset_ += static_cast<DWORD>(record.size());
    if (index_.Count() >= kQelFileMaxFrames || offset_ >= kQelFileMaxBytes) CloseFile();
}

void QelAvFileWriter::Finish(bool pad) {
    if (!file_) return;
    if (pad) {
        const std::vector<BYTE> filler = QelFillerBlock();
        while (offset_ < kQelBackupPadBytes) {
            if (std::fwrite(filler.data(), 1, filler.size(), file_) != filler.size())
                throw EWriteError(Format("Cannot write \"%s\"", path_.c_str()));
            offset_ += static_cast<DWORD>(filler.size());
        }
    }
    CloseFile();
}

QelAvFileReader::QelAvFileReader(const std::string& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw EFOpenError(Format("Cannot open file \"%s\". %s", path.c_str(), std::strerror(errno)));
}

QelAvFileReader::~QelAvFileReader() {
    if (file_) std::fclose(file_);
}

void QelAvFileReader::Seek(DWORD offset) {
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        throw EReadError(Format("Cannot seek \"%s\" to %u", path_.c_str(), unsigned(offset)));
    offset_ = offset;
}

bool QelAvFileReader::Next(QelRecordedFrame& out) {
    BYTE head[kFrmHdrSize];
    const std::size_t got = std::fread(head, 1, sizeof head, file_);
    if (got < 4 || GetU32(head) != kFrmHdrStartCode) return false;
    if (got < sizeof head)
        throw EQelFormatError(
            Format("\"%s\": frame header at %u cut short", path_.c_str(), unsigned(offset_)));
    const FrmHdr header = FrmHdr::Decode(head, sizeof head);
    std::vector<BYTE> body(header.length);
    if (std::fread(body.data(), 1, body.size(), file_) != body.size())
        throw EQelFormatError(Format("\"%s\": frame at %u cut short", path_.c_str(), unsigned(offset_)));
    QelAvFrame frame = QelAvFrame::DecodeBody(body.data(), body.size());
    if (frame.info.payloadLen1 >= kQelMaxPayload1)
        throw EQelFormatError(Format("\"%s\": payload 1 of %u bytes at %u", path_.c_str(),
                                     unsigned(frame.info.payloadLen1), unsigned(offset_)));
    out.header = header;
    out.frame = std::move(frame);
    out.offset = offset_;
    offset_ += static_cast<DWORD>(kFrmHdrSize + header.length);
    return true;
}
