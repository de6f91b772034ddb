#include "state_file.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "cp1251.h"

namespace sim {

namespace {

constexpr char kMagic[] = "zovuz-sim-state 1";

std::string escape(const std::string& cp1251) {
    std::string out;
    for (char c : utf16ToUtf8(cp1251ToUtf16(cp1251))) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += text[i];
        }
    }
    return utf16ToCp1251(utf8ToUtf16(out));
}

int kindNumber(DocumentKind kind) {
    return static_cast<int>(kind);
}

void writeDocument(std::ostringstream& out, const Document& d) {
    out << "doc " << kindNumber(d.kind) << ' ' << d.number << ' ' << d.zNumber << ' ' << d.time
        << ' ' << d.receipts;
    for (int64_t t : d.totals) {
        out << ' ' << t;
    }
    out << ' ' << escape(d.note) << '\n';
    for (const SaleItem& item : d.items) {
        out << "item " << item.group << ' ' << item.price << ' ' << item.quantity << ' '
            << escape(item.name) << '\n';
    }
}

// The rest of a line after the fields read so far, without its leading blank.
std::string restOf(std::istringstream& in) {
    std::string rest;
    std::getline(in, rest);
    return rest.empty() ? rest : unescape(rest.substr(1));
}

bool readDocument(std::istringstream& in, DeviceState& s) {
    Document d;
    int kind = 0;
    in >> kind >> d.number >> d.zNumber >> d.time >> d.receipts;
    for (int64_t& t : d.totals) {
        in >> t;
    }
    if (!in || kind < 0 || kind > kindNumber(DocumentKind::Service)) {
        return false;
    }
    d.kind = static_cast<DocumentKind>(kind);
    d.note = restOf(in);
    s.journal.push_back(std::move(d));
    return true;
}

bool readItem(std::istringstream& in, DeviceState& s) {
    SaleItem item;
    in >> item.group >> item.price >> item.quantity;
    if (!in || s.journal.empty() || item.group < 0 || item.group > 3) {
        return false;
    }
    item.name = restOf(in);
    s.journal.back().items.push_back(std::move(item));
    return true;
}

bool readLine(const std::string& key, std::istringstream& in, DeviceState& s) {
    if (key == "param") {
        int n = 0;
        in >> n;
        if (!in || n < 1 || n > kParameterCount) {
            return false;
        }
        s.parameters[static_cast<size_t>(n)] = restOf(in);
        return true;
    }
    if (key == "doc") {
        return readDocument(in, s);
    }
    if (key == "item") {
        return readItem(in, s);
    }
    if (key == "operation") {
        s.lastOperationReport.push_back(restOf(in));
        return true;
    }
    int64_t value = 0;
    in >> value;
    if (!in) {
        return false;
    }
    if (key == "clockOffset")
        s.clockOffset = value;
    else if (key == "fiscalized")
        s.fiscalized = value != 0;
    else if (key == "fiscalizedAt")
        s.fiscalizedAt = value;
    else if (key == "registered")
        s.registered = value != 0;
    else if (key == "registeredAt")
        s.registeredAt = value;
    else if (key == "xCounter")
        s.xCounter = static_cast<int>(value);
    else if (key == "zCounter")
        s.zCounter = static_cast<int>(value);
    else if (key == "unsentZReports")
        s.unsentZReports = static_cast<int>(value);
    else if (key == "journalNumber")
        s.journalNumber = static_cast<int>(value);
    else if (key == "historySeed")
        s.history.seed = static_cast<uint32_t>(value);
    else if (key == "historyEnd")
        s.history.endDay = value;
    else if (key == "historyDays")
        s.history.days = static_cast<int>(value);
    else if (key == "historyOpenUntil")
        s.history.openUntil = value;
    else if (key == "hasLastOperation")
        s.hasLastOperation = value != 0;
    else
        return false;
    return true;
}

}  // namespace

std::string serializeState(const DeviceState& s) {
    std::ostringstream out;
    out << kMagic << '\n';
    for (int n = 1; n <= kParameterCount; ++n) {
        out << "param " << n << ' ' << escape(s.parameters[static_cast<size_t>(n)]) << '\n';
    }
    out << "clockOffset " << s.clockOffset << "\nfiscalized " << s.fiscalized << "\nfiscalizedAt "
        << s.fiscalizedAt << "\nregistered " << s.registered << "\nregisteredAt " << s.registeredAt
        << "\nxCounter " << s.xCounter << "\nzCounter " << s.zCounter << "\nunsentZReports "
        << s.unsentZReports << "\njournalNumber " << s.journalNumber << "\nhistorySeed "
        << s.history.seed << "\nhistoryEnd " << s.history.endDay << "\nhistoryOpenUntil "
        << s.history.openUntil << "\nhistoryDays " << (s.historyDocuments > 0 ? s.history.days : 0)
        << "\nhasLastOperation " << s.hasLastOperation << '\n';
    for (const std::string& line : s.lastOperationReport) {
        out << "operation " << escape(line) << '\n';
    }
    for (size_t i = static_cast<size_t>(s.historyDocuments); i < s.journal.size(); ++i) {
        writeDocument(out, s.journal[i]);
    }
    return out.str();
}

std::optional<DeviceState> parseState(const std::string& text, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kMagic) {
        error = "not a simulator state file";
        return std::nullopt;
    }
    DeviceState s;
    s.history.days = 0;
    int lineNumber = 1;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::istringstream in(line);
        std::string key;
        in >> key;
        if (!key.empty() && !readLine(key, in, s)) {
            error = "bad line " + std::to_string(lineNumber) + ": " + line;
            return std::nullopt;
        }
    }
    std::vector<Document> recorded = std::move(s.journal);
    s.journal = s.history.days > 0 ? generateHistory(s.history) : std::vector<Document>{};
    s.historyDocuments = static_cast<int>(s.journal.size());
    s.journal.insert(s.journal.end(), recorded.begin(), recorded.end());
    return s;
}

bool saveStateFile(const std::string& path, const DeviceState& state, std::string& error) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << serializeState(state);
        out.flush();
        if (!out) {
            error = "cannot write " + temp;
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path + ": " + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

std::optional<DeviceState> loadStateFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    error.clear();
    if (!in) {
        if (errno != ENOENT) {
            error = "cannot read " + path + ": " + std::strerror(errno);
        }
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto state = parseState(text.str(), error);
    if (!state) {
        error = path + ": " + error;
    }
    return state;
}

}  // namespace sim
