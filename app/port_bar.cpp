// The port bar's actions of the main window: choosing, opening and closing the port,
// finding the device and asking it for its version.
#include "choice_window.h"
#include "command.h"
#include "dialog_support.h"
#include "korvex_dlg.h"
#include "link_ui.h"
#include "serial_port.h"
#include "transaction.h"
#include "ui_korvex_dlg.h"

namespace {

const char kIdentifyRequest[] = "0";
const char kIdentifyAnswer[] = "VIDIZ";
const char16_t kVersionCommand[] = u"\u00FE";

QString noPortsText() {
    return QStringLiteral("Компютъра няма COM портове");
}
QString notFoundText() {
    return QStringLiteral("ZOVUZ не може да бъде открит");
}

// Whether the device on the open port answers the identification request as ZOVUZ does.
bool answersAsDevice() {
    std::string response;
    DeviceStatus status{};
    if (Transact(kIdentifyRequest, response, status) != kLinkSuccess || StatusFailed(status)) {
        return false;
    }
    return response.compare(0, 5, kIdentifyAnswer) == 0;
}

}  // namespace

QString portLabel(const std::u16string& name, uint32_t number) {
    return QString::fromStdU16String(name) + QStringLiteral(" (COM%1)").arg(number);
}

void CKorvexDlg::listPorts(std::vector<std::u16string>& names) {
    portNumbers.clear();
    names.clear();
    if (portLister) {
        portLister(portNumbers, names);
    } else if (!EnumerateComPorts(portNumbers, names)) {
        ProbeComPorts(portNumbers, names);
    }
}

void CKorvexDlg::OnChoosePort() {
    UpdateData(true);
    CChoiceWindowBtn* chooser = ui->portChooserButton;
    chooser->RemoveAllChoices();
    std::vector<std::u16string> names;
    listPorts(names);
    if (portNumbers.empty()) {
        chooser->AddChoice(noPortsText(), 1);
        return;
    }
    for (size_t i = 0; i < portNumbers.size(); ++i) {
        const bool current = portNumbers[i] == static_cast<uint32_t>(comPort);
        chooser->AddChoice(portLabel(i < names.size() ? names[i] : u"", portNumbers[i]), current);
    }
    chooser->ShowChoices();
}

void CKorvexDlg::OnPortChosen(int index, CChoiceWindowBtn* sender) {
    CChoiceWindowBtn* chooser = ui->portChooserButton;
    if (sender != chooser || portNumbers.empty()) {
        return;
    }
    for (int i = 0; i < static_cast<int>(chooser->choices().size()); ++i) {
        chooser->SetChoiceChecked(i, 0);
    }
    chooser->SetChoiceChecked(index, 1);
    if (index >= 0 && index < static_cast<int>(portNumbers.size())) {
        comPort = static_cast<int>(portNumbers[static_cast<size_t>(index)]);
        UpdateData(false);
        OnClosePort();
    }
}

void CKorvexDlg::OnOpenPort() {
    UpdateData(true);
    if (OpenComPort(comPort, kBaudRate) == kLinkSuccess) {
        SetPortOpenState();
    } else {
        showMessage(this, QStringLiteral("Серийния порт не може да бъде отворен"));
    }
}

void CKorvexDlg::OnClosePort() {
    CloseComPort();
    SetPortClosedState();
}

void CKorvexDlg::OnAutodetect() {
    WaitCursorGuard waitCursor;
    UpdateData(true);
    OnClosePort();
    std::vector<std::u16string> names;
    listPorts(names);
    for (size_t i = 0; i < portNumbers.size(); ++i) {
        const int number = static_cast<int>(portNumbers[i]);
        if (OpenComPort(number, kBaudRate) != kLinkSuccess || !answersAsDevice()) {
            continue;
        }
        waitCursor.release();
        comPort = number;
        UpdateData(false);
        SetPortOpenState();
        showMessage(this, QStringLiteral("ZOVUZ е открит на порт: ") +
                              portLabel(i < names.size() ? names[i] : u"", portNumbers[i]));
        return;
    }
    CloseComPort();
    waitCursor.release();
    showMessage(this, notFoundText());
}

void CKorvexDlg::OnVersion() {
    WaitCursorGuard waitCursor;
    UpdateData(true);
    std::u16string response;
    const bool answered = RunCommand(kVersionCommand, response);
    waitCursor.release();
    if (answered) {
        showMessage(this, QString::fromStdU16String(response));
    } else {
        showMessage(this, QString::fromStdU16String(kCommunicationErrorPrefix + LastErrorText()));
    }
}
