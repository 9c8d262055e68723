#include "ui/ByteCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace quorvel::ui {
namespace {

// A byte that is not valid where it stands is shown as U+10FF00 + byte. Only bytes of 0x80 or
// more are ever shown this way, so the glyphs are U+10FF80 to U+10FFFF; in UTF-16 they are the
// high surrogate 0xDBFF followed by 0xDF00 + byte.
constexpr char32_t kGlyphBase = 0x10FF00;
constexpr char32_t kFirstGlyph = kGlyphBase + 0x80;
constexpr char32_t kLastGlyph = kGlyphBase + 0xFF;
constexpr char16_t kGlyphHigh = 0xDBFF;
constexpr char16_t kGlyphLowBase = 0xDF00;
constexpr char32_t kInvalid = 0xFFFFFFFF;

bool IsGlyph(char32_t codePoint) {
    return codePoint >= kFirstGlyph && codePoint <= kLastGlyph;
}

// Qt's text document turns these into block and frame marks; shown as glyphs they stay text.
bool IsStructureMark(char32_t codePoint) {
    return codePoint == 0x2029 || codePoint == 0xFDD0 || codePoint == 0xFDD1;
}

bool IsDisplayable(char32_t codePoint) {
    return !IsGlyph(codePoint) && !IsStructureMark(codePoint);
}

// Writes UTF-16 into a QString whose size grows as needed; the final size is set by Finish.
class Utf16Writer {
public:
    explicit Utf16Writer(qsizetype expected)
        : out_(expected, Qt::Uninitialized), buffer_(out_.data()) {}

    // Makes room for units more code units. Callers keep written + bytes still to read within
    // the size, so a character that takes no more units than bytes needs no call.
    void Reserve(qsizetype units) {
        if (written_ + units <= out_.size()) {
            return;
        }
        out_.resize(std::max(out_.size() * 3 / 2, written_ + units) + 16);
        buffer_ = out_.data();
    }
    void Put(char16_t unit) { buffer_[written_++] = QChar(unit); }
    // Copies the run of ASCII bytes that starts at pos; returns where it ends.
    std::size_t PutAsciiRun(std::string_view bytes, std::size_t pos) {
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        auto* out = reinterpret_cast<char16_t*>(buffer_) + written_;
        const std::size_t start = pos;
        while (pos + 8 <= bytes.size()) {
            std::uint64_t chunk = 0;
            std::memcpy(&chunk, data + pos, sizeof chunk);
            if ((chunk & 0x8080808080808080ULL) != 0) {
                break;
            }
            for (std::size_t i = 0; i < 8; ++i) {
                out[pos - start + i] = data[pos + i];
            }
            pos += 8;
        }
        while (pos < bytes.size() && data[pos] < 0x80) {
            out[pos - start] = data[pos];
            ++pos;
        }
        written_ += static_cast<qsizetype>(pos - start);
        return pos;
    }
    void PutCodePoint(char32_t codePoint) {
        if (codePoint < 0x10000) {
            Put(static_cast<char16_t>(codePoint));
            return;
        }
        const char32_t value = codePoint - 0x10000;
        Put(static_cast<char16_t>(0xD800 + (value >> 10)));
        Put(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
    }
    void PutGlyph(unsigned char byte) {
        Put(kGlyphHigh);
        Put(static_cast<char16_t>(kGlyphLowBase + byte));
    }
    QString Finish() {
        out_.truncate(written_);
        return std::move(out_);
    }

private:
    QString out_;
    QChar* buffer_;
    qsizetype written_ = 0;
};

// The code point of a sequence that CharLength took as one character, or kInvalid when the
// sequence is overlong, a surrogate or beyond U+10FFFF.
char32_t DecodeUtf8Sequence(const unsigned char* bytes, std::size_t length) {
    if (length == 2) {
        return static_cast<char32_t>(((bytes[0] & 0x1F) << 6) | (bytes[1] & 0x3F));
    }
    if (length == 3) {
        const auto value = static_cast<char32_t>(((bytes[0] & 0x0F) << 12) |
                                                 ((bytes[1] & 0x3F) << 6) | (bytes[2] & 0x3F));
        const bool bad = value < 0x800 || (value >= 0xD800 && value <= 0xDFFF);
        return bad ? kInvalid : value;
    }
    if (length == 4) {
        const auto value =
            static_cast<char32_t>(((bytes[0] & 0x07) << 18) | ((bytes[1] & 0x3F) << 12) |
                                  ((bytes[2] & 0x3F) << 6) | (bytes[3] & 0x3F));
        const bool bad = value < 0x10000 || value > 0x10FFFF;
        return bad ? kInvalid : value;
    }
    return kInvalid;
}

QString DecodeUtf8(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    // Every character takes at most as many code units as bytes, except a glyph (two for one).
    Utf16Writer writer(static_cast<qsizetype>(size));
    std::size_t pos = 0;
    while (pos < size) {
        const unsigned char lead = data[pos];
        if (lead < 0x80) {
            pos = writer.PutAsciiRun(bytes, pos);
            continue;
        }
        const std::size_t length = text::CharLength(CodePage::Utf8, bytes, pos);
        const char32_t codePoint = DecodeUtf8Sequence(data + pos, length);
        if (codePoint != kInvalid && IsDisplayable(codePoint)) {
            writer.PutCodePoint(codePoint);
        } else {
            writer.Reserve(static_cast<qsizetype>(length + size - pos));
            for (std::size_t i = 0; i < length; ++i) {
                writer.PutGlyph(data[pos + i]);
            }
        }
        pos += length;
    }
    return writer.Finish();
}

// The two-byte characters of code page 936 as glibc's iconv knows them, and the reverse map.
// A pair that decodes to a character another pair already gave, to ASCII or to a character the
// display cannot hold is left out, so that every pair in the table encodes back to itself.
struct GbkTables {
    std::vector<char16_t> decode = std::vector<char16_t>(0x10000, 0); // (lead << 8 | trail)
    std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(0x10000, 0); // by BMP char
};

char32_t ConvertPair(iconv_t converter, unsigned char lead, unsigned char trail) {
    std::array<char, 2> input{static_cast<char>(lead), static_cast<char>(trail)};
    std::array<unsigned char, 8> output{};
    char* in = input.data();
    auto* out = reinterpret_cast<char*>(output.data());
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0 || output.size() - outLeft != 4) {
        return kInvalid;
    }
    return static_cast<char32_t>(output[0] | (output[1] << 8) | (output[2] << 16) |
                                 (static_cast<std::uint32_t>(output[3]) << 24));
}

GbkTables BuildGbkTables() {
    GbkTables tables;
    iconv_t converter = iconv_open("UTF-32LE", "GBK");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        converter = iconv_open("UTF-32LE", "CP936");
    }
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return tables; // every non-ASCII byte is then shown as a glyph, still losslessly
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const char32_t codePoint = ConvertPair(converter, static_cast<unsigned char>(lead),
                                                   static_cast<unsigned char>(trail));
            if (codePoint == kInvalid || codePoint < 0x80 || codePoint > 0xFFFF ||
                (codePoint >= 0xD800 && codePoint <= 0xDFFF) || !IsDisplayable(codePoint) ||
                tables.encode[codePoint] != 0) {
                continue;
            }
            const auto pair = static_cast<std::uint16_t>(lead << 8 | trail);
            tables.decode[pair] = static_cast<char16_t>(codePoint);
            tables.encode[codePoint] = pair;
        }
    }
    iconv_close(converter);
    return tables;
}

const GbkTables& Gbk() {
    static const GbkTables tables = BuildGbkTables();
    return tables;
}

QString DecodeGbk(std::string_view bytes) {
    const GbkTables& tables = Gbk();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    Utf16Writer writer(static_cast<qsizetype>(size));
    std::size_t pos = 0;
    while (pos < size) {
        const unsigned char lead = data[pos];
        if (lead < 0x80) {
            pos = writer.PutAsciiRun(bytes, pos);
            continue;
        }
        if (pos + 1 < size) {
            const unsigned char trail = data[pos + 1];
            const char16_t unit = tables.decode[static_cast<std::size_t>(lead << 8 | trail)];
            if (unit != 0) {
                writer.Put(unit);
                pos += 2;
                continue;
            }
            writer.Reserve(static_cast<qsizetype>(2 + size - pos));
            writer.PutGlyph(lead);
            ++pos;
            // An ASCII trail byte stays itself (a line break must stay a line break).
            if (trail >= 0x80) {
                writer.PutGlyph(trail);
                ++pos;
            }
            continue;
        }
        writer.Reserve(2);
        writer.PutGlyph(lead);
        ++pos;
    }
    return writer.Finish();
}

// The length of the run of ASCII code units that starts at i.
qsizetype AsciiRunLength(const char16_t* units, qsizetype i, qsizetype size) {
    const qsizetype start = i;
    while (i + 4 <= size) {
        std::uint64_t chunk = 0;
        std::memcpy(&chunk, units + i, sizeof chunk);
        if ((chunk & 0xFF80FF80FF80FF80ULL) != 0) {
            break;
        }
        i += 4;
    }
    while (i < size && units[i] < 0x80) {
        ++i;
    }
    return i - start;
}

// Walks UTF-16 text: runs of ASCII go to ascii(units, count) in one piece, every other code
// point to visit (a lone surrogate as itself).
template <typename Ascii, typename Visit>
void ForEachCodePoint(QStringView text, Ascii ascii, Visit visit) {
    const auto* units = reinterpret_cast<const char16_t*>(text.data());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        const char16_t unit = units[i];
        if (unit < 0x80) {
            const qsizetype run = AsciiRunLength(units, i, size);
            ascii(units + i, run);
            i += run;
            continue;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < size && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            visit(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                  (static_cast<char32_t>(units[i + 1]) - 0xDC00));
            i += 2;
            continue;
        }
        visit(static_cast<char32_t>(unit));
        ++i;
    }
}

// Writes ASCII runs and counts bytes for the two passes of an encoder.
auto CountAscii(std::size_t& length) {
    return
        [&length](const char16_t*, qsizetype count) { length += static_cast<std::size_t>(count); };
}

auto CopyAscii(char*& dst) {
    return [&dst](const char16_t* units, qsizetype count) {
        for (qsizetype i = 0; i < count; ++i) {
            dst[i] = static_cast<char>(units[i]);
        }
        dst += count;
    };
}

std::size_t Utf8Length(char32_t codePoint) {
    if (codePoint < 0x80 || IsGlyph(codePoint)) {
        return 1;
    }
    if (codePoint < 0x800) {
        return 2;
    }
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
        return 1; // a lone surrogate becomes "?"
    }
    return codePoint < 0x10000 ? 3 : 4;
}

std::size_t GbkLength(char32_t codePoint) {
    if (codePoint < 0x80 || IsGlyph(codePoint) || codePoint > 0xFFFF) {
        return 1;
    }
    return Gbk().encode[codePoint] != 0 ? 2 : 1;
}

Text EncodeUtf8(QStringView text) {
    std::size_t length = 0;
    ForEachCodePoint(text, CountAscii(length),
                     [&](char32_t codePoint) { length += Utf8Length(codePoint); });
    Text out(length, '\0');
    char* dst = out.data();
    ForEachCodePoint(text, CopyAscii(dst), [&](char32_t codePoint) {
        if (codePoint < 0x80) {
            *dst++ = static_cast<char>(codePoint);
        } else if (IsGlyph(codePoint)) {
            *dst++ = static_cast<char>(codePoint - kGlyphBase);
        } else if (codePoint < 0x800) {
            *dst++ = static_cast<char>(0xC0 | (codePoint >> 6));
            *dst++ = static_cast<char>(0x80 | (codePoint & 0x3F));
        } else if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
            *dst++ = '?';
        } else if (codePoint < 0x10000) {
            *dst++ = static_cast<char>(0xE0 | (codePoint >> 12));
            *dst++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            *dst++ = static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            *dst++ = static_cast<char>(0xF0 | (codePoint >> 18));
            *dst++ = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
            *dst++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            *dst++ = static_cast<char>(0x80 | (codePoint & 0x3F));
        }
    });
    return out;
}

Text EncodeGbk(QStringView text) {
    const GbkTables& tables = Gbk();
    std::size_t length = 0;
    ForEachCodePoint(text, CountAscii(length),
                     [&](char32_t codePoint) { length += GbkLength(codePoint); });
    Text out(length, '\0');
    char* dst = out.data();
    ForEachCodePoint(text, CopyAscii(dst), [&](char32_t codePoint) {
        if (codePoint < 0x80) {
            *dst++ = static_cast<char>(codePoint);
            return;
        }
        if (IsGlyph(codePoint)) {
            *dst++ = static_cast<char>(codePoint - kGlyphBase);
            return;
        }
        const std::uint16_t pair = codePoint <= 0xFFFF ? tables.encode[codePoint] : 0;
        if (pair == 0) {
            *dst++ = '?';
            return;
        }
        *dst++ = static_cast<char>(pair >> 8);
        *dst++ = static_cast<char>(pair & 0xFF);
    });
    return out;
}

} // namespace

QString DecodeForDisplay(std::string_view bytes) {
    return text::ActiveCodePage() == CodePage::Gbk ? DecodeGbk(bytes) : DecodeUtf8(bytes);
}

Text EncodeFromDisplay(QStringView text) {
    return text::ActiveCodePage() == CodePage::Gbk ? EncodeGbk(text) : EncodeUtf8(text);
}

std::size_t EncodedLength(char32_t codePoint) {
    return text::ActiveCodePage() == CodePage::Gbk ? GbkLength(codePoint) : Utf8Length(codePoint);
}

} // namespace quorvel::ui
