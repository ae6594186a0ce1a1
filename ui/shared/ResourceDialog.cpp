#include "ui/shared/ResourceDialog.h"

#include "platform/DebugOutput.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <string>

namespace {

bool TakesFocus(std::uint32_t kind)
{
    return kind != MX_CTL_STATIC && kind != MX_CTL_GROUPBOX && kind != MX_CTL_ICON;
}

// "&&" stands for one ampersand, a single '&' marks the mnemonic.
QString WithoutMnemonic(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                ++i;
            else
                continue;
        }
        plain += text[i];
    }
    return plain;
}

bool HasMnemonic(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                ++i;
            else
                return true;
        }
    }
    return false;
}

} // namespace

ResourceDialog::ResourceDialog(const CResourceHandle& resources, int dialogId, QWidget* parent, ControlFactory factory)
    : QDialog(parent)
    , m_nDialogId(dialogId)
{
    setObjectName(QString::number(dialogId));

    // Dialog units as the platform defines them: the average width of the
    // Latin letters, rounded, and the height of a line of the dialog's font.
    const QFontMetrics metrics(font());
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseUnits = QSize((letters / 26 + 1) / 2, metrics.height());

    if (const MxDialogResource* dialog = resources.FindDialog(dialogId)) {
        Build(*dialog, factory);
    } else {
        platform::DebugOutput("dialog resource " + std::to_string(dialogId) + " missing from the language library\n");
    }
}

ResourceDialog::~ResourceDialog() = default;

QRect ResourceDialog::MapDialogRect(int x, int y, int cx, int cy) const
{
    const auto horizontal = [this](int units) { return (units * m_baseUnits.width() + 2) / 4; };
    const auto vertical = [this](int units) { return (units * m_baseUnits.height() + 4) / 8; };
    return QRect(horizontal(x), vertical(y), horizontal(cx), vertical(cy));
}

void ResourceDialog::Build(const MxDialogResource& dialog, const ControlFactory& factory)
{
    setWindowTitle(QString::fromUtf8(dialog.caption ? dialog.caption : ""));
    setFixedSize(MapDialogRect(0, 0, dialog.cx, dialog.cy).size());

    QButtonGroup* radioGroup = nullptr;
    for (std::uint32_t i = 0; i < dialog.count; ++i) {
        const MxControlResource& control = dialog.controls[i];
        QWidget* widget = factory ? factory(control) : nullptr;
        if (!widget)
            widget = CreateControl(control);
        widget->setParent(this);
        widget->setObjectName(QString::number(control.id));
        widget->setGeometry(MapDialogRect(control.x, control.y, control.cx, control.cy));
        if (qobject_cast<QComboBox*>(widget))
            widget->resize(widget->width(), widget->sizeHint().height());
        if (qobject_cast<QGroupBox*>(widget))
            widget->lower(); // a frame stays behind the controls it surrounds

        // Radio buttons that follow one another form one group.
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            if (!radioGroup)
                radioGroup = new QButtonGroup(this);
            radio->setAutoExclusive(false);
            radioGroup->addButton(radio);
        } else {
            radioGroup = nullptr;
        }

        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            if (control.id == static_cast<std::uint32_t>(res::IDOK))
                connect(button, &QPushButton::clicked, this, &ResourceDialog::accept);
            else if (control.id == static_cast<std::uint32_t>(res::IDCANCEL))
                connect(button, &QPushButton::clicked, this, &ResourceDialog::reject);
        }
        m_controls.push_back({static_cast<int>(control.id), widget});
    }

    // A label's mnemonic moves the focus to the next control that takes it, as
    // in the platform's dialogs. A label without one shows its text as the
    // platform would: "&&" as one ampersand, a lone '&' not at all.
    for (std::uint32_t i = 0; i < dialog.count; ++i) {
        auto* label = qobject_cast<QLabel*>(m_controls[i].widget);
        if (!label || !label->text().contains(u'&'))
            continue;
        QWidget* buddy = nullptr;
        for (std::uint32_t j = i + 1; j < dialog.count && !buddy && HasMnemonic(label->text()); ++j) {
            if (TakesFocus(dialog.controls[j].kind))
                buddy = m_controls[j].widget;
        }
        if (buddy)
            label->setBuddy(buddy);
        else
            label->setText(WithoutMnemonic(label->text()));
    }
}

QWidget* ResourceDialog::CreateControl(const MxControlResource& control)
{
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    switch (control.kind) {
    case MX_CTL_PUSHBUTTON: return new QPushButton(text);
    case MX_CTL_DEFPUSHBUTTON: {
        auto* button = new QPushButton(text);
        button->setDefault(true);
        return button;
    }
    case MX_CTL_CHECKBOX: return new QCheckBox(text);
    case MX_CTL_RADIOBUTTON: return new QRadioButton(text);
    case MX_CTL_GROUPBOX: return new QGroupBox(text);
    case MX_CTL_EDIT: return new QLineEdit(text);
    case MX_CTL_LISTBOX:
    case MX_CTL_CHECKLISTBOX: {
        auto* list = new QListWidget;
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        return list;
    }
    case MX_CTL_COMBOBOX: return new QComboBox;
    case MX_CTL_LISTVIEW: return new QTableView;
    case MX_CTL_ICON: {
        auto* label = new QLabel;
        const QIcon icon = QApplication::windowIcon();
        if (!icon.isNull()) {
            const QRect area = MapDialogRect(control.x, control.y, control.cx, control.cy);
            label->setPixmap(icon.pixmap(qMin(area.width(), area.height())));
        }
        return label;
    }
    case MX_CTL_STATIC:
    default: {
        auto* label = new QLabel(text);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Taller than a line and a half: the text wraps.
        label->setWordWrap(control.cy >= 12);
        return label;
    }
    }
}

QListWidgetItem* ResourceDialog::AddCheckItem(QListWidget* list, const QString& text, bool checked)
{
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

void ResourceDialog::AddStandIn(int id, QWidget* widget)
{
    platform::DebugOutput("dialog " + std::to_string(m_nDialogId) + " lacks control " + std::to_string(id)
                          + "; a hidden stand-in takes its place\n");
    widget->setObjectName(QString::number(id));
    widget->hide();
    m_controls.push_back({id, widget});
}

QFont ResourceDialog::FixedPitchFont(int pixelHeight) const
{
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFixedPitch(true);
    fixed.setPixelSize(pixelHeight);
    fixed.setWeight(font().weight());
    fixed.setItalic(font().italic());
    return fixed;
}

int ResourceDialog::DoModal()
{
    const int code = exec();
    if (m_nResult == 0)
        m_nResult = code == QDialog::Accepted ? res::IDOK : res::IDCANCEL;
    return m_nResult;
}

void ResourceDialog::EndDialog(int result)
{
    m_nResult = result;
    QDialog::done(result == res::IDCANCEL ? QDialog::Rejected : QDialog::Accepted);
}

void ResourceDialog::accept()
{
    OnOK();
}

void ResourceDialog::reject()
{
    OnCancel();
}

void ResourceDialog::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        m_nResult = 0;
        if (!m_bInitialised) {
            m_bInitialised = true;
            OnInitDialog();
        }
    }
    QDialog::setVisible(visible);
}
