#include "device_state.h"

#include "calendar.h"
#include "cp1251.h"

namespace sim {

std::string cp(std::string_view utf8) {
    return utf16ToCp1251(utf8ToUtf16(utf8));
}

namespace {

void setIdentity(DeviceState& s) {
    s.parameters[11] = "ZV000417";
    s.parameters[12] = "71003271";
    s.parameters[16] = "ZV000417";
    s.parameters[17] = "71003271";
    s.parameters[6] = "0";
    s.parameters[7] = "2000";
    s.parameters[8] = "2000";
    s.parameters[9] = "900";
    s.parameters[19] = "0";
    s.parameters[25] = "80";
    s.parameters[26] = "193.200.14.30";
    s.parameters[28] = "0";
    s.parameters[29] = "128";
    s.parameters[45] = "0";
    s.parameters[51] = "284011234567890";
}

void setOwnerAndSite(DeviceState& s) {
    const char* texts[][2] = {
        {"1", "204567893"},
        {"2", "Вендинг Системи ЕООД"},
        {"3", "гр. София, ул. Искър 12"},
        {"4", "Автомат Вход Б"},
        {"5", "гр. София, бул. Витоша 100"},
        {"14", "BG204567893"},
        {"15", "0417/2024"},
        {"18", "4581273"},
        {"20", "fiscal.mobile.bg"},
        {"23", "359881234567"},
        {"24", "1234"},
        {"25", "8080"},
        {"27", "204567893"},
        {"30", "Вендинг Системи ЕООД"},
        {"31", "17"},
        {"32", "Автомат Вход Б"},
        {"33", "68134"},
        {"34", "София"},
        {"35", "6813408"},
        {"36", "Триадица"},
        {"37", "4123"},
        {"38", "бул. Витоша"},
        {"39", "100"},
        {"41", "Б"},
        {"42", "1"},
        {"44", "131234567"},
        {"46", "31.12.2027 23:59:59"},
    };
    for (const auto& [number, text] : texts) {
        s.parameters[static_cast<size_t>(std::stoi(number))] = cp(text);
    }
}

}  // namespace

DeviceState blankDeviceState() {
    DeviceState s;
    setIdentity(s);
    return s;
}

DeviceState defaultDeviceState(int64_t historyEndDay, uint32_t seed, int64_t openUntil) {
    DeviceState s = blankDeviceState();
    setOwnerAndSite(s);
    s.history = {seed, historyEndDay, 28, openUntil};
    s.journal = generateHistory(s.history);
    s.historyDocuments = static_cast<int>(s.journal.size());
    s.fiscalized = true;
    s.fiscalizedAt = historyEndDay - s.history.days * kSecondsPerDay - 2 * 3600;
    s.registered = true;
    s.registeredAt = s.fiscalizedAt + 600;
    s.parameters[47] = formatParameterTime(s.fiscalizedAt);
    for (const Document& d : s.journal) {
        if (d.kind == DocumentKind::ZReport) {
            s.zCounter = d.zNumber;
        }
    }
    s.unsentZReports = 0;
    return s;
}

}  // namespace sim
