#pragma once

#include <QFrame>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <vector>

class CChoiceWindow;
class CMyListCtrl;

// A bitmap button that owns a list of checkable choices and drops them in a popup right
// below itself. A click on a choice is reported, posted, through choiceMade.
class CChoiceWindowBtn : public QPushButton {
    Q_OBJECT

public:
    struct CChoice {
        int checked = 0;
        QString text;
    };

    explicit CChoiceWindowBtn(QWidget* parent = nullptr);
    ~CChoiceWindowBtn() override;

    // The pictures for the normal, pressed, focused and disabled states.
    void setBitmaps(const QPixmap& normal, const QPixmap& pressed, const QPixmap& focused,
                    const QPixmap& disabled);

    void AddChoice(const QString& text, int checked);
    void RemoveAllChoices();
    void ShowChoices();
    void SetChoiceChecked(int index, int checked);

    const std::vector<CChoice>& choices() const { return choiceItems; }
    CChoiceWindow* popup() const { return choicePopup; }
    QSize sizeHint() const override;

    // While set, the button is enabled exactly when it has choices.
    bool autoEnable = true;

signals:
    // A choice of this button was clicked in its popup.
    void choiceMade(int index, CChoiceWindowBtn* sender);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend class CChoiceWindow;

    std::vector<CChoice> choiceItems;
    CChoiceWindow* choicePopup;
    QPixmap bitmaps[4];
};

// The popup of a choice button: a check box list that closes on Enter, Esc or when the
// focus moves elsewhere, copying its check boxes back into the button's choices.
class CChoiceWindow : public QFrame {
    Q_OBJECT

public:
    static constexpr int kListId = 1001;

    CChoiceWindow();
    ~CChoiceWindow() override;

    void showFor(CChoiceWindowBtn* owner);
    void closeChoices();
    CMyListCtrl* list() const { return choiceList; }
    CChoiceWindowBtn* owner() const { return ownerButton; }

protected:
    virtual void OnListKeyDown(int key);
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void fill();
    void layOut();
    void onListFocusLost();
    void reportClick(int index);

    CMyListCtrl* choiceList;
    QPointer<CChoiceWindowBtn> ownerButton;
};
