#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Reads the naming table of a TrueType/OpenType font held in memory. Only the name ids 0
// to 7 are kept, the first record met for each; the subfamily also gives the style flags.
// Every read is checked against the buffer: a record that points outside it is absent.
// No Qt here, so it can be tested and fuzzed on its own.
class FontNameReader {
public:
    static constexpr int kNameCount = 8;
    static constexpr int kFullNameId = 4;
    static constexpr int kSubfamilyId = 2;

    // Parses the buffer; true when a naming table was found and scanned. The buffer is
    // only used during the call.
    bool ReadFontNames(const uint8_t* buffer, size_t size);
    void Reset();

    // The name with this id (0 to 7), empty when absent or out of range.
    const std::u16string& name(int nameId) const;
    std::u16string FullName() const { return name(kFullNameId); }
    uint8_t foundMask() const { return found; }
    bool isBold() const { return bold; }
    bool isItalic() const { return italic; }
    bool isRegular() const { return regular; }

private:
    struct Record {
        uint16_t platformId;
        uint16_t nameId;
        uint16_t length;
        uint16_t offset;
    };

    bool findNamingTable(uint32_t& tableOffset) const;
    void scanNamingTable(uint32_t tableOffset);
    void storeRecord(const Record& record, size_t stringsStart);
    void setStyle(const std::u16string& subfamily);

    // Big-endian reads that fail instead of leaving the buffer.
    bool readU16(size_t pos, uint16_t& value) const;
    bool readU32(size_t pos, uint32_t& value) const;

    const uint8_t* data = nullptr;
    size_t dataSize = 0;
    std::array<std::u16string, kNameCount> names;
    uint8_t found = 0;
    bool bold = false;
    bool italic = false;
    bool regular = false;
};
