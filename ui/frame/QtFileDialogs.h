#pragma once

#include "ui/frame/IFileDialogs.h"

class QWidget;

class QtFileDialogs final : public IFileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent)
        : m_parent(parent)
    {
    }
    bool GetOpenFileName(const std::string& filter, int& filterIndex, std::string& path) override;
    bool GetSaveFileName(SaveFileRequest& request) override;

private:
    QWidget* m_parent;
};
