#include "autoset/COuvAuto.h"

#include "autoset/AutoSetRun.h"
#include "autoset/ResourceIds.h"

#include "contract/AutoSetBlock.h"

#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstring>

namespace portavo {
namespace {

using namespace comm::autoset;

QString Text(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QString ParityName(int code)
{
    switch (code) {
    case 0: return QStringLiteral("NON");
    case 1: return QStringLiteral("ODD");
    case 2: return QStringLiteral("EVEN");
    default: return QStringLiteral("?");
    }
}

QString BaudText(int code)
{
    switch (code) {
    case 3: return QStringLiteral("9600");
    case 4: return QStringLiteral("19200");
    case 7: return QStringLiteral("115200");
    default: return {};
    }
}

QLabel* ValueLabel(QWidget* parent, unsigned id)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("control%1").arg(id));
    return label;
}

} // namespace

COuvAuto::COuvAuto(std::uint8_t* block, const std::uint8_t* request, const PortavoDialog* dialog,
                   const ResourceLibrary& strings, QWidget* parent)
    : QDialog(parent)
    , m_block(block)
    , m_walk(block)
    , m_strings(strings)
{
    std::memcpy(m_request.data(), request, m_request.size());
    PutU16(m_block, kFlagsOffset, GetU16(m_block, kFlagsOffset) | kFlagAutoSet);

    setObjectName(QStringLiteral("COuvAuto"));
    setWindowTitle(Text(dialog ? dialog->caption : nullptr));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_title = ValueLabel(this, Control::Title);
    m_kind = ValueLabel(this, Control::Kind);
    m_port = ValueLabel(this, Control::Port);
    m_baud = ValueLabel(this, Control::Baud);
    m_dataLength = ValueLabel(this, Control::DataLength);
    m_parity = ValueLabel(this, Control::Parity);
    m_stopBits = ValueLabel(this, Control::StopBits);
    form->addRow(m_title);
    const std::pair<unsigned, QLabel*> rows[] = {{Control::Kind, m_kind},     {Control::Port, m_port},
                                                 {Control::Baud, m_baud},     {Control::DataLength, m_dataLength},
                                                 {Control::Parity, m_parity}, {Control::StopBits, m_stopBits}};
    for (const auto& [id, value] : rows)
        form->addRow(Text(ControlText(dialog, id + Control::LabelOffset)), value);
    layout->addLayout(form);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("control%1").arg(Control::Progress));
    layout->addWidget(m_progress);
    m_status = ValueLabel(this, Control::Status);
    layout->addWidget(m_status);
    m_cancel = new QPushButton(Text(ControlText(dialog, Control::Cancel)), this);
    m_cancel->setObjectName(QStringLiteral("control%1").arg(Control::Cancel));
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, &COuvAuto::reject);

    m_timer = new QTimer(this);
    m_timer->setInterval(kTimerPeriodMs);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &COuvAuto::OnTimer);

    // The fixed texts of the record.
    char title[comm::kBlockTitleSize + 1] = {};
    std::memcpy(title, m_block + comm::kBlockTitleOffset, comm::kBlockTitleSize);
    m_title->setText(QString::fromLocal8Bit(title));
    if (GetI16(Settings(), Record::Kind) == kKindSerial)
        m_kind->setText(QStringLiteral("RS232C"));
    const int com = GetU16(Settings(), Record::ComIndex);
    m_port->setText(QStringLiteral("COM%1").arg(com + 1));
}

COuvAuto::~COuvAuto()
{
    StopTimer();
}

int COuvAuto::Run()
{
    m_status->setText(Text(m_strings.String(kStringSearching)));
    m_progress->setRange(0, m_walk.Range());
    m_progress->setValue(0);
    m_walk.Write();
    ShowPosition();
    UpdateControls();
    show();
    repaint();
    StartTimer();
    return exec();
}

void COuvAuto::CopySettings(std::uint8_t* out) const
{
    std::memcpy(out, m_block + kSettingsOffset, kSettingsSize);
}

void COuvAuto::reject()
{
    if (m_bFound)
        return;
    StopTimer();
    done(kDialogCancelled);
}

void COuvAuto::ShowPosition()
{
    // A code without a rate leaves the box as it was.
    if (QString baud = BaudText(GetI16(Settings(), Record::Baud)); !baud.isEmpty())
        m_baudText = baud;
}

void COuvAuto::UpdateControls()
{
    const std::uint8_t* s = Settings();
    m_baud->setText(m_baudText);
    m_dataLength->setText(QString::number(GetI16(s, Record::DataLength)));
    m_parity->setText(ParityName(GetI16(s, Record::Parity)));
    m_stopBits->setText(QString::number(GetI16(s, Record::StopBits)));
}

void COuvAuto::StartTimer()
{
    m_nTimerId = kTimerId;
    m_timer->start();
}

void COuvAuto::StopTimer()
{
    if (m_timer)
        m_timer->stop();
    m_nTimerId = 0;
}

void COuvAuto::OnTimer()
{
    StopTimer();
    if (m_walk.Probe()) {
        m_status->setText(Text(m_strings.String(kStringFound)));
        UpdateControls();
        // The found settings stay on view for a moment; cancel no longer
        // undoes a success.
        m_bFound = true;
        m_cancel->setEnabled(false);
        QTimer::singleShot(kFoundPauseMs, this, [this] { done(kDialogFound); });
        return;
    }
    const bool more = m_walk.Next();
    m_progress->setValue(m_walk.Failures());
    if (more) {
        ShowPosition();
        UpdateControls();
        show();
        repaint();
        StartTimer();
    } else {
        done(kDialogFailed);
    }
}

} // namespace portavo
