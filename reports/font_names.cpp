#include "font_names.h"

#include <string_view>

#include "cp1251.h"

namespace {

constexpr size_t kOffsetTableSize = 12;
constexpr size_t kDirectoryEntrySize = 16;
constexpr size_t kNamingHeaderSize = 6;
constexpr size_t kNameRecordSize = 12;
constexpr uint8_t kAllFound = 0xFF;

bool tagIsName(const uint8_t* tag) {
    static constexpr char kName[] = "name";
    for (int i = 0; i < 4; ++i) {
        const uint8_t c = tag[i];
        const uint8_t lower = (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c + 32) : c;
        if (lower != static_cast<uint8_t>(kName[i])) {
            return false;
        }
    }
    return true;
}

// Platforms 0 (Unicode) and 3 (Windows) hold UTF-16 big-endian text. A trailing odd byte
// cannot be a whole code unit and is dropped.
std::u16string utf16BigEndian(const uint8_t* bytes, size_t length) {
    std::u16string text;
    text.reserve(length / 2);
    for (size_t i = 0; i + 1 < length; i += 2) {
        const auto unit = static_cast<char16_t>((bytes[i] << 8) | bytes[i + 1]);
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

// Other platforms hold 8-bit text, read in the code page of the program's users.
std::u16string eightBit(const uint8_t* bytes, size_t length) {
    std::string_view text(reinterpret_cast<const char*>(bytes), length);
    return cp1251ToUtf16(text.substr(0, text.find('\0')));
}

std::u16string lowered(const std::u16string& text) {
    std::u16string result = text;
    for (char16_t& c : result) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + 32);
        }
    }
    return result;
}

}  // namespace

bool FontNameReader::readU16(size_t pos, uint16_t& value) const {
    if (pos > dataSize || dataSize - pos < 2) {
        return false;
    }
    value = static_cast<uint16_t>((data[pos] << 8) | data[pos + 1]);
    return true;
}

bool FontNameReader::readU32(size_t pos, uint32_t& value) const {
    uint16_t high = 0;
    uint16_t low = 0;
    if (!readU16(pos, high) || !readU16(pos + 2, low)) {
        return false;
    }
    value = (static_cast<uint32_t>(high) << 16) | low;
    return true;
}

void FontNameReader::Reset() {
    data = nullptr;
    dataSize = 0;
    for (std::u16string& n : names) {
        n.clear();
    }
    found = 0;
    bold = italic = regular = false;
}

const std::u16string& FontNameReader::name(int nameId) const {
    static const std::u16string kEmpty;
    return nameId >= 0 && nameId < kNameCount ? names[nameId] : kEmpty;
}

bool FontNameReader::ReadFontNames(const uint8_t* buffer, size_t size) {
    data = buffer;
    dataSize = buffer ? size : 0;
    uint32_t tableOffset = 0;
    const bool hasTable = findNamingTable(tableOffset);
    if (hasTable) {
        scanNamingTable(tableOffset);
    }
    data = nullptr;
    dataSize = 0;
    return hasTable;
}

bool FontNameReader::findNamingTable(uint32_t& tableOffset) const {
    uint16_t tableCount = 0;
    if (dataSize < kOffsetTableSize || !readU16(4, tableCount)) {
        return false;
    }
    for (size_t i = 0; i < tableCount; ++i) {
        const size_t entry = kOffsetTableSize + i * kDirectoryEntrySize;
        if (entry > dataSize || dataSize - entry < kDirectoryEntrySize) {
            return false;
        }
        if (tagIsName(data + entry)) {
            return readU32(entry + 8, tableOffset);
        }
    }
    return false;
}

void FontNameReader::scanNamingTable(uint32_t tableOffset) {
    uint16_t count = 0;
    uint16_t stringOffset = 0;
    if (!readU16(tableOffset + size_t{2}, count) ||
        !readU16(tableOffset + size_t{4}, stringOffset)) {
        return;
    }
    const size_t stringsStart = size_t{tableOffset} + stringOffset;
    for (size_t i = 0; i < count && found != kAllFound; ++i) {
        const size_t pos = tableOffset + kNamingHeaderSize + i * kNameRecordSize;
        Record record{};
        if (!readU16(pos, record.platformId) || !readU16(pos + 6, record.nameId) ||
            !readU16(pos + 8, record.length) || !readU16(pos + 10, record.offset)) {
            return;  // the record list itself runs past the end of the font
        }
        storeRecord(record, stringsStart);
    }
}

void FontNameReader::storeRecord(const Record& record, size_t stringsStart) {
    if (record.nameId >= kNameCount || (found & (1u << record.nameId))) {
        return;
    }
    const size_t start = stringsStart + record.offset;
    if (start > dataSize || dataSize - start < record.length) {
        return;  // points outside the font: counts as absent
    }
    const uint8_t* bytes = data + start;
    std::u16string text = (record.platformId == 0 || record.platformId == 3)
                              ? utf16BigEndian(bytes, record.length)
                              : eightBit(bytes, record.length);
    if (record.nameId == kSubfamilyId) {
        setStyle(text);
    }
    names[record.nameId] = std::move(text);
    found = static_cast<uint8_t>(found | (1u << record.nameId));
}

void FontNameReader::setStyle(const std::u16string& subfamily) {
    const std::u16string style = lowered(subfamily);
    auto contains = [&style](const char16_t* word) {
        return style.find(word) != std::u16string::npos;
    };
    bold = contains(u"bold");
    italic = contains(u"italic");
    regular = contains(u"regular") || contains(u"normal") || contains(u"standard");
}
