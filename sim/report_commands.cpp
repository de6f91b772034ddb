// Reports from the journal and the fiscal memory, and the line read-out that hands them
// to the host one line per request.
#include <functional>
#include <optional>
#include <utility>

#include "calendar.h"
#include "commands.h"
#include "report_text.h"

namespace sim {

namespace {

// Selection bits of journal reports.
constexpr int kAllDocuments = 0x40;
constexpr int kZReportsOnly = 0x01;

struct Range {
    int64_t from = 0;
    int64_t to = 0;
};

// "from,to" split at the first comma; parse decides each half.
template <typename T, typename Parse>
std::optional<std::pair<T, T>> parsePair(std::string_view text, Parse parse) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const auto from = parse(text.substr(0, comma));
    const auto to = parse(text.substr(comma + 1));
    if (!from || !to) {
        return std::nullopt;
    }
    return std::make_pair(*from, *to);
}

std::optional<int64_t> parseReceiptNumber(std::string_view text) {
    int value = 0;
    return parseNumber(text, 0, 99999999, value) ? std::optional<int64_t>(value) : std::nullopt;
}

Answer withReport(FiscalDevice& device, std::vector<std::string> lines) {
    device.setReport(std::move(lines));
    Answer answer = okAnswer(kSuccessHeader);
    answer.workMs = device.options().reportWorkMs;
    return answer;
}

using Pick = std::function<bool(const Document&)>;

// The journal report: every picked document in full, or only the first one.
Answer journalReport(FiscalDevice& device, const Pick& pick, bool firstOnly, bool byDate) {
    const DeviceState& s = device.state();
    std::vector<std::string> lines = reportHeading(s, "КОНТРОЛНА ЛЕНТА (КЛЕН)");
    const size_t heading = lines.size();
    for (const Document& doc : s.journal) {
        if (pick(doc)) {
            appendDocument(lines, s, doc);
            if (firstOnly) {
                break;
            }
        }
    }
    if (lines.size() == heading) {
        return byDate ? errorHeader(101, "Няма документи за избрания период")
                      : errorHeader(102, "Няма документи в избрания диапазон");
    }
    return withReport(device, std::move(lines));
}

Answer memoryReport(FiscalDevice& device, const Pick& pick, bool detailed, bool byDate) {
    const DeviceState& s = device.state();
    std::vector<std::string> lines =
        reportHeading(s, detailed ? "ПОДРОБЕН ОТЧЕТ НА ФП" : "СЪКРАТЕН ОТЧЕТ НА ФП");
    const size_t heading = lines.size();
    GroupAmounts total{};
    for (const Document& doc : s.journal) {
        if (doc.kind == DocumentKind::ZReport && pick(doc)) {
            appendMemoryRecord(lines, s, doc, detailed);
            for (int g = 0; g < kVatGroups; ++g) {
                total[g] += doc.totals[g];
            }
        }
    }
    if (lines.size() == heading) {
        return byDate ? errorHeader(103, "Няма записи във ФП за избрания период")
                      : errorHeader(104, "Няма записи във ФП в избрания диапазон");
    }
    lines.push_back(columns(cp("ОБЩО ЗА ПЕРИОДА"), money(sum(total))));
    return withReport(device, std::move(lines));
}

std::optional<Range> parseDates(std::string_view text) {
    const auto dates = parsePair<int64_t>(text, parseReportTime);
    return dates ? std::optional<Range>(Range{dates->first, dates->second}) : std::nullopt;
}

}  // namespace

Answer journalByDate(FiscalDevice& device, std::string_view data) {
    const size_t comma = data.find(',');
    int selection = 0;
    if (comma == std::string_view::npos || !parseNumber(data.substr(0, comma), 0, 255, selection)) {
        return statusAnswer(syntaxErrorStatus());
    }
    const auto range = parseDates(data.substr(comma + 1));
    if (!range) {
        return statusAnswer(syntaxErrorStatus());
    }
    const bool zOnly = (selection & kZReportsOnly) != 0;
    const Pick pick = [range, zOnly](const Document& d) {
        return d.time >= range->from && d.time <= range->to &&
               (!zOnly || d.kind == DocumentKind::ZReport);
    };
    return journalReport(device, pick, (selection & kAllDocuments) == 0, true);
}

Answer journalByNumber(FiscalDevice& device, std::string_view data) {
    const size_t comma = data.find(',');
    int selection = 0;
    if (comma == std::string_view::npos || !parseNumber(data.substr(0, comma), 0, 255, selection)) {
        return statusAnswer(syntaxErrorStatus());
    }
    const auto numbers = parsePair<int64_t>(data.substr(comma + 1), parseReceiptNumber);
    if (!numbers) {
        return statusAnswer(syntaxErrorStatus());
    }
    const Pick pick = [numbers](const Document& d) {
        return d.number >= numbers->first && d.number <= numbers->second;
    };
    return journalReport(device, pick, (selection & kAllDocuments) == 0, false);
}

Answer memoryByDate(FiscalDevice& device, std::string_view data, bool detailed) {
    const auto range = parseDates(data);
    if (!range) {
        return statusAnswer(syntaxErrorStatus());
    }
    const Pick pick = [range](const Document& d) {
        return d.time >= range->from && d.time <= range->to;
    };
    return memoryReport(device, pick, detailed, true);
}

Answer memoryByNumber(FiscalDevice& device, std::string_view data, bool detailed) {
    const auto numbers = parsePair<int64_t>(data, parseReceiptNumber);
    if (!numbers) {
        return statusAnswer(syntaxErrorStatus());
    }
    const Pick pick = [numbers](const Document& d) {
        return d.zNumber >= numbers->first && d.zNumber <= numbers->second;
    };
    return memoryReport(device, pick, detailed, false);
}

Answer reportLine(FiscalDevice& device, std::string_view data) {
    int index = 0;
    if (!parseNumber(data, 0, 99999999, index)) {
        return statusAnswer(syntaxErrorStatus());
    }
    const auto& lines = device.reportLines();
    if (static_cast<size_t>(index) >= lines.size()) {
        return okAnswer("E");
    }
    return okAnswer(std::to_string(index + 1) + "," + lines[static_cast<size_t>(index)]);
}

}  // namespace sim
