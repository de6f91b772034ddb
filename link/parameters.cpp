#include "parameters.h"

#include "command.h"
#include "cp1251.h"
#include "link_ui.h"

void IParameters::SetParameter(int, std::u16string) {}

std::u16string IParameters::GetParameter(int) {
    return {};
}

namespace {

constexpr char kReadCode = '1';
constexpr char kWriteCode = '2';

}  // namespace

bool ReadParameters(std::span<const int> numbers, IParameters& target) {
    CommandContext& ctx = commandContext();
    for (int number : numbers) {
        ctx.commandRequest = kReadCode + std::to_string(number);
        if (!ExecuteCommand()) {
            return false;
        }
        target.SetParameter(number, cp1251ToUtf16(ctx.commandResponse));
    }
    return true;
}

bool WriteParameters(IParameters& target, std::span<const int> numbers) {
    CommandContext& ctx = commandContext();
    for (int number : numbers) {
        const std::u16string value = target.GetParameter(number);
        ctx.commandRequest = kWriteCode + std::to_string(number) + ',' + utf16ToCp1251(value);
        if (!ExecuteCommand()) {
            return false;
        }
    }
    return true;
}

bool RunParameterButton(ParameterPage& page, ParameterDirection direction,
                        std::span<const int> numbers) {
    WaitCursorGuard waitCursor;
    const bool entriesValid = page.UpdateData(true);
    // Writing what failed validation would send the old stored values while the screen
    // shows something else; the validation message has already told the user why not.
    if (direction == ParameterDirection::Write && !entriesValid) {
        return false;
    }
    const bool ok = direction == ParameterDirection::Read ? ReadParameters(numbers, page)
                                                          : WriteParameters(page, numbers);
    waitCursor.release();
    if (!ok) {
        const std::u16string& prefix = direction == ParameterDirection::Read
                                           ? kReadParametersErrorPrefix
                                           : kWriteParametersErrorPrefix;
        linkUi().showMessage(prefix + LastErrorText());
    }
    page.UpdateData(false);
    return ok;
}
