#pragma once

// Find (`IDD_FIND`): a value in the current radix and unit or, in the
// hexadecimal radix, a text of the text column; this block or every block,
// forward or backward. Find Next and Find All run the search through the
// caller and show its answer in the dialog, which stays open until Close.

#include "ui/shared/ResourceDialog.h"

#include <functional>
#include <string>

struct FindRequest {
    std::string text;
    bool isText = false;
    bool everyBlock = false;
    bool forward = true;
};

class CFindDlg final : public ResourceDialog {
    Q_OBJECT

public:
    // Each returns the text to show.
    using Search = std::function<std::string(const FindRequest& request)>;

    CFindDlg(const CResourceHandle& resources, FindRequest start, bool textAllowed, Search findNext, Search findAll,
             QWidget* parent = nullptr);

    FindRequest Request() const;

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    void Show(const std::string& message);

    FindRequest m_start;
    bool m_textAllowed;
    Search m_findNext;
    Search m_findAll;
};
