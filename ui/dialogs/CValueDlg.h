#pragma once

// A dialog that asks for one line of text and checks it before it closes:
// Go To (`IDD_GOTO`) and Fill (`IDD_FILL`). The check returns the reason a
// text is refused, shown in the dialog's message control; an empty reason
// accepts the text and ends the dialog with IDOK.

#include "ui/shared/ResourceDialog.h"

#include <functional>
#include <string>

class CValueDlg final : public ResourceDialog {
    Q_OBJECT

public:
    using Check = std::function<std::string(const std::string& text)>;

    CValueDlg(const CResourceHandle& resources, int dialogId, int editId, int messageId, Check check,
              QWidget* parent = nullptr);

    std::string Text() const;

protected:
    void OnOK() override;

private:
    int m_editId;
    int m_messageId;
    Check m_check;
};
