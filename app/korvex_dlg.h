#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class KorvexDlg;
}
class CChildDialog;
class CChoiceWindowBtn;
class CFiscalizationDlg;
class CFiscalDeviceDlg;
class CSiteInfoDlg;
class CServiceDlg;
class CKlenDlg;

// The program's one window: the port bar along its lower edge and the picture tabs with
// the pages above it. It opens and closes the process-wide serial port, finds the device,
// asks it for its version and keeps the pages' device buttons in step with the port.
class CKorvexDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 102;
    static constexpr uint32_t kBaudRate = 115200;
    static constexpr int kMinPort = 1;
    static constexpr int kMaxPort = 999;

    explicit CKorvexDlg(QWidget* parent = nullptr);
    ~CKorvexDlg() override;

    bool UpdateData(bool saveAndValidate);
    void ShowPage(int index);
    void SetPortOpenState();
    void SetPortClosedState();

    // Lists the computer's COM ports: numbers and names, parallel. The system's listing (or
    // probing without one) unless a test puts its own in place.
    using PortLister =
        std::function<void(std::vector<uint32_t>& numbers, std::vector<std::u16string>& names)>;
    void setPortLister(PortLister lister) { portLister = std::move(lister); }

    int portNumber() const { return comPort; }
    CChoiceWindowBtn* portChooser() const;
    // The pages in creation order.
    const std::vector<CChildDialog*>& pages() const { return pageList; }
    QWidget* pageOfTab(int index) const;

public slots:
    void OnChoosePort();
    void OnPortChosen(int index, CChoiceWindowBtn* sender);
    void OnOpenPort();
    void OnClosePort();
    void OnAutodetect();
    void OnVersion();
    void OnAbout();

    // Exit and Enter end the window only when its fields are valid; Escape and the close
    // box end it regardless.
    void accept() override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnInitDialog();
    void buildTabs();
    void createPages();
    void setUpPortChooser();
    void setCaptions();
    void connectControls();
    void LoadSettings();
    void SaveSettings();
    void OnExit(bool validate);
    void setDeviceButtonsEnabled(bool portOpen);
    void placePage(QWidget* page);
    // Fills portNumbers and names from the system's listing, or by probing without one.
    void listPorts(std::vector<std::u16string>& names);

    std::unique_ptr<Ui::KorvexDlg> ui;
    QFont tabFont;
    CFiscalizationDlg* fiscalizationPage = nullptr;
    CFiscalDeviceDlg* fiscalDevicePage = nullptr;
    CSiteInfoDlg* siteInfoPage = nullptr;
    CServiceDlg* servicePage = nullptr;
    CKlenDlg* klenPage = nullptr;
    std::vector<CChildDialog*> pageList;
    std::vector<uint32_t> portNumbers;
    PortLister portLister;
    int comPort = 1;
    QIcon icon;
};

// The choice label of a port: its listing name, then its COM number in parentheses.
QString portLabel(const std::u16string& name, uint32_t number);
