#include "command.h"

#include "cp1251.h"
#include "transaction.h"

const std::u16string kCommunicationErrorPrefix = u"Грешка при комуникация с ZOVUZ: ";
const std::u16string kReadParametersErrorPrefix = u"Грешка при четене на параметрите: ";
const std::u16string kWriteParametersErrorPrefix = u"Грешка при запис на параметрите: ";

namespace {

constexpr uint8_t kFailureBit = 0x20;

struct DetailBit {
    int byte;
    uint8_t mask;
    const char16_t* text;
};

// In the order the texts are shown, which is not the order of the bytes on the wire.
constexpr DetailBit kDetailBits[] = {
    {0, 0x10, u"В механизма на печатащото устройство има неизправност\r\n"},
    {0, 0x02, u"Кода на получената команда е невалиден\r\n"},
    {0, 0x01, u"Получените данни имат синтактична грешка\r\n"},
    {1, 0x10,
     u"Установено е разрушаване на съдържанието на оперативната памет (RAM) след включване\r\n"},
    {1, 0x08, u"Операция, свързана с печат е прекъсната и рестартирана\r\n"},
    {1, 0x04, u"Извършено е зануляване на оперативната памет\r\n"},
    {1, 0x02, u"Изпълнението на командата не е позволено в текущия фискален режим\r\n"},
    {2, 0x01, u"Свършила е хартията. Флагът се вдига само вън от фискален или нефискален бон\r\n"},
    {4, 0x10, u"Фискалната памет е пълна\r\n"},
    {4, 0x01, u"Има грешка при запис във фискалната памет\r\n"},
    {5, 0x01, u"Фискалната памет е установена в режим READONLY\r\n"},
};

}  // namespace

CommandContext& commandContext() {
    static CommandContext context;
    return context;
}

std::u16string LinkResultText(int code) {
    static constexpr const char* kTexts[] = {
        "Successful",
        "Cannot open com port",
        "COM Port is closed",
        "Fiscal Printer is not responding",
        "Received NAK from Fiscal Printer",
        "Timeout",
    };
    const char* text = code >= 0 && code < static_cast<int>(std::size(kTexts))
                           ? kTexts[code]
                           : "Unknown communication error";
    return cp1251ToUtf16(text);
}

std::u16string StatusText(const DeviceStatus& status) {
    std::u16string text;
    for (const DetailBit& bit : kDetailBits) {
        if (status[bit.byte] & bit.mask) {
            text += bit.text;
        }
    }
    return text;
}

bool StatusFailed(const DeviceStatus& status) {
    return (status[0] & kFailureBit) || (status[4] & kFailureBit);
}

std::u16string LastErrorText() {
    return commandContext().lastErrorText;
}

bool ExecuteCommand() {
    CommandContext& ctx = commandContext();
    const int result = Transact(ctx.commandRequest, ctx.commandResponse, ctx.deviceStatus);
    if (result != kLinkSuccess) {
        ctx.lastErrorText = LinkResultText(result);
        return false;
    }
    if (StatusFailed(ctx.deviceStatus)) {
        ctx.lastErrorText = u"Error in STATUS:\r\n" + StatusText(ctx.deviceStatus);
        return false;
    }
    return true;
}

bool RunCommand(const std::u16string& command, std::u16string& response) {
    CommandContext& ctx = commandContext();
    ctx.commandRequest = lowBytes(command);
    const bool ok = ExecuteCommand();
    ctx.lastResult = ok ? 1 : 0;
    response = cp1251ToUtf16(ctx.commandResponse);
    return ok;
}
