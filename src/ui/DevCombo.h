#pragma once
// The list editor of a menu parameter's cell in the device parameter table, private to the table's
// sources: tells whether the user picked an entry and when its popup closed.
#include <QComboBox>
#include <functional>

class TDevCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool Chosen = false; // the user picked an entry; anything else leaves the cell alone
    std::function<void()> PopupHidden;
    void hidePopup() override {
        QComboBox::hidePopup();
        if (PopupHidden)
            PopupHidden();
    }
};
