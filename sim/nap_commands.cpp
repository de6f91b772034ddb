// Operations with the revenue agency's server. The device "connects" for a while (the
// frame layer sends SYN meanwhile), then answers with a header; the report of the last
// operation is kept for the follow-up command 0xFF.
#include <cstdio>

#include "calendar.h"
#include "commands.h"
#include "report_text.h"

namespace sim {

namespace {

const char* const kReasons[] = {
    "Препълване на фискалната памет",
    "Смяна на собственика",
    "Прекратена регистрация по инициатива на лицето",
    "Бракуване на ФУ",
    "Повреда на фискалната памет",
    "Грешка в блок на фискалната памет",
    "Грешка при въвеждане в експлоатация",
    "След изпитване на ЕСФП в реални условия",
    "Прекратяване на дейността на лицето",
    "Други",
};

Answer connected(FiscalDevice& device, std::string_view titleUtf8,
                 std::vector<std::string> details) {
    DeviceState& s = device.mutableState();
    std::vector<std::string> lines = reportHeading(s, titleUtf8);
    lines.push_back(columns(cp("Дата"), formatParameterTime(device.clock())));
    lines.insert(lines.end(), details.begin(), details.end());
    lines.push_back(columns(cp("Неизпратени Z отчети"), std::to_string(s.unsentZReports)));
    lines.push_back(cp("Отговор на сървъра: 0 - успешно"));
    s.lastOperationReport = std::move(lines);
    s.hasLastOperation = true;
    device.changed();
    Answer answer = okAnswer(kSuccessHeader);
    answer.workMs = device.options().napWorkMs;
    return answer;
}

std::string registrationNumber(const DeviceState& s) {
    // Derived from the device number so that it is the same on every run.
    unsigned value = 0;
    for (char c : s.parameters[11]) {
        value = value * 31 + static_cast<uint8_t>(c);
    }
    char out[16];
    std::snprintf(out, sizeof out, "%07u", value % 10000000u);
    return out;
}

Answer notRegistered() {
    return errorHeader(31, "ФУ не е регистрирано в НАП");
}

}  // namespace

Answer registerDevice(FiscalDevice& device, std::string_view data) {
    DeviceState& s = device.mutableState();
    if (!data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    if (!s.fiscalized) {
        return errorHeader(30, "ФУ не е фискализирано");
    }
    if (s.registered) {
        return errorHeader(32, "ФУ вече е регистрирано в НАП");
    }
    s.registered = true;
    s.registeredAt = device.clock();
    s.parameters[18] = registrationNumber(s);
    s.unsentZReports = 0;
    return connected(device, "РЕГИСТРАЦИЯ В НАП", {columns("FDRID", s.parameters[18])});
}

Answer deregisterDevice(FiscalDevice& device, std::string_view data) {
    DeviceState& s = device.mutableState();
    int reason = 0;
    if (!parseNumber(data, 1, 10, reason)) {
        return statusAnswer(syntaxErrorStatus());
    }
    if (!s.registered) {
        return notRegistered();
    }
    const std::string fdrid = s.parameters[18];
    s.registered = false;
    s.parameters[18].clear();
    return connected(device, "ДЕРЕГИСТРАЦИЯ В НАП",
                     {columns("FDRID", fdrid), cp("Причина: ") + std::to_string(reason),
                      cp(kReasons[reason - 1])});
}

Answer changeRegistration(FiscalDevice& device, std::string_view data) {
    DeviceState& s = device.mutableState();
    if (!data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    if (!s.registered) {
        return notRegistered();
    }
    s.unsentZReports = 0;
    const auto& p = s.parameters;
    return connected(device, "ПРОМЯНА НА ОБСТОЯТЕЛСТВА",
                     {columns("FDRID", p[18]), cp("Обект: ") + p[32], cp("Адрес: ") + p[34],
                      p[38] + " " + p[39], cp("Тип на обекта: ") + p[29]});
}

Answer deviceInformation(FiscalDevice& device, std::string_view data) {
    if (!data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    const DeviceState& s = device.state();
    std::string text = kSuccessHeader;
    text += kVersionText;
    text += "\r\n";
    text += cp("ФУ: ") + s.parameters[11] + cp(", ФП: ") + s.parameters[12] + "\r\n";
    text += cp("Фискализирано: ") + (s.fiscalized ? formatDate(s.fiscalizedAt) : cp("не")) + "\r\n";
    text += cp("Регистрирано в НАП: ") +
            (s.registered ? "FDRID " + s.parameters[18] + cp(" от ") + formatDate(s.registeredAt)
                          : cp("не")) +
            "\r\n";
    text += cp("Z отчети: ") + std::to_string(s.zCounter) + cp(", неизпратени: ") +
            std::to_string(s.unsentZReports);
    return okAnswer(text);
}

Answer lastOperationReport(FiscalDevice& device, std::string_view data) {
    if (!data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    const DeviceState& s = device.state();
    if (!s.hasLastOperation) {
        return errorHeader(40, "Няма данни за последна операция с НАП");
    }
    device.setReport(s.lastOperationReport);
    return okAnswer(kSuccessHeader);
}

}  // namespace sim
