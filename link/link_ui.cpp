#include "link_ui.h"

namespace {

// Until the application sets its own, messages and cursors go nowhere.
class SilentUi final : public LinkUi {
public:
    void showMessage(const std::u16string&) override {}
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
};

SilentUi silentUi;
LinkUi* currentUi = &silentUi;

}  // namespace

LinkUi& linkUi() {
    return *currentUi;
}

void setLinkUi(LinkUi* ui) {
    currentUi = ui ? ui : &silentUi;
}
