#include "commlib/settings/ProfileEditor.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace commlib {
namespace {

QLineEdit* Line(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items, bool editable = false)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    box->setEditable(editable);
    return box;
}

bool ToInt(const QLineEdit* edit, int& value)
{
    bool ok = false;
    value = edit->text().trimmed().toInt(&ok);
    return ok;
}

} // namespace

ProfileEditor::ProfileEditor(QWidget* parent)
    : QWidget(parent)
{
    m_name = Line(this, "name");
    m_kind = Combo(this, "kind", {tr("Modbus TCP"), tr("Modbus RTU (serial)")});
    m_host = Line(this, "host");
    m_port = Line(this, "port");
    m_parallel = new QSpinBox(this);
    m_parallel->setObjectName(QStringLiteral("parallel"));
    m_parallel->setRange(1, kMaxParallel);
    m_parallel->setToolTip(tr("Requests kept in flight during a transfer, each on a connection of its own"));
    QStringList devices;
    for (const QString& pattern : {QStringLiteral("ttyS*"), QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")})
        for (const QString& entry : QDir(QStringLiteral("/dev")).entryList({pattern}, QDir::System))
            devices << QStringLiteral("/dev/") + entry;
    m_serialDevice = Combo(this, "serialDevice", devices, true);
    m_baud = Combo(this, "baud", {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
    m_parity = Combo(this, "parity", {tr("None"), tr("Even"), tr("Odd")});
    m_dataBits = Combo(this, "dataBits", {"8", "7"});
    m_stopBits = Combo(this, "stopBits", {"1", "2"});
    m_unit = Line(this, "unit");
    m_timeout = Line(this, "timeout");
    m_mapFile = Line(this, "mapFile");
    m_mapFile->setPlaceholderText(tr("default register map"));
    m_family = Combo(this, "family", {tr("From the unit"), tr("0 (consecutive ranges)"), tr("1 (per address)")});
    m_model = Line(this, "model");

    m_form = new QFormLayout(this);
    m_form->setContentsMargins(0, 0, 0, 0);
    m_form->addRow(tr("Name:"), m_name);
    m_form->addRow(tr("Connection:"), m_kind);
    m_form->addRow(tr("Host:"), m_host);
    m_form->addRow(tr("Port:"), m_port);
    m_form->addRow(tr("Parallel requests:"), m_parallel);
    m_form->addRow(tr("Serial device:"), m_serialDevice);
    m_form->addRow(tr("Baud rate:"), m_baud);
    m_form->addRow(tr("Parity:"), m_parity);
    m_form->addRow(tr("Data bits:"), m_dataBits);
    m_form->addRow(tr("Stop bits:"), m_stopBits);
    m_form->addRow(tr("Unit id:"), m_unit);
    m_form->addRow(tr("Timeout (ms):"), m_timeout);
    m_form->addRow(tr("Register map file:"), m_mapFile);
    m_form->addRow(tr("Protocol family:"), m_family);
    m_form->addRow(tr("Model id:"), m_model);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &ProfileEditor::ShowLinkRows);
    ShowLinkRows();
}

void ProfileEditor::ShowLinkRows()
{
    const bool serial = m_kind->currentIndex() == 1;
    for (QWidget* tcp :
         {static_cast<QWidget*>(m_host), static_cast<QWidget*>(m_port), static_cast<QWidget*>(m_parallel)})
        m_form->setRowVisible(tcp, !serial);
    for (QWidget* rtu :
         {static_cast<QWidget*>(m_serialDevice), static_cast<QWidget*>(m_baud), static_cast<QWidget*>(m_parity),
          static_cast<QWidget*>(m_dataBits), static_cast<QWidget*>(m_stopBits)})
        m_form->setRowVisible(rtu, serial);
    emit SerialShown(serial);
}

void ProfileEditor::Show(const Profile& p)
{
    m_name->setText(QString::fromStdString(p.name));
    m_kind->setCurrentIndex(p.kind == LinkKind::Rtu ? 1 : 0);
    ShowLinkRows();
    m_host->setText(QString::fromStdString(p.host));
    m_port->setText(QString::number(p.port));
    m_parallel->setValue(p.parallel);
    m_serialDevice->setCurrentText(QString::fromStdString(p.serialDevice));
    m_baud->setCurrentText(QString::number(p.baud));
    m_parity->setCurrentIndex(p.parity == 'E' ? 1 : p.parity == 'O' ? 2 : 0);
    m_dataBits->setCurrentText(QString::number(p.dataBits));
    m_stopBits->setCurrentText(QString::number(p.stopBits));
    m_unit->setText(QString::number(p.unit));
    m_timeout->setText(QString::number(p.timeoutMs));
    m_mapFile->setText(QString::fromStdString(p.mapFile));
    m_family->setCurrentIndex(p.family + 1);
    m_model->setText(p.model ? QString::number(p.model) : QString());
}

bool ProfileEditor::Read(Profile& p, QString& error) const
{
    Profile r;
    r.name = m_name->text().trimmed().toStdString();
    if (r.name.empty()) {
        error = tr("Enter a name for the connection.");
        return false;
    }
    r.kind = m_kind->currentIndex() == 1 ? LinkKind::Rtu : LinkKind::Tcp;
    r.host = m_host->text().trimmed().toStdString();
    if (r.kind == LinkKind::Tcp && !ToInt(m_port, r.port)) {
        error = tr("The TCP port must be a number from 1 to 65535.");
        return false;
    }
    r.parallel = m_parallel->value();
    r.serialDevice = m_serialDevice->currentText().trimmed().toStdString();
    r.baud = m_baud->currentText().toInt();
    r.parity = "NEO"[m_parity->currentIndex()];
    r.dataBits = m_dataBits->currentText().toInt();
    r.stopBits = m_stopBits->currentText().toInt();
    if (!ToInt(m_unit, r.unit)) {
        error = tr("The unit id must be a number.");
        return false;
    }
    if (!ToInt(m_timeout, r.timeoutMs)) {
        error = tr("The timeout must be a number of milliseconds from 1 to 60000.");
        return false;
    }
    r.mapFile = m_mapFile->text().trimmed().toStdString();
    r.family = m_family->currentIndex() - 1;
    if (m_model->text().trimmed().isEmpty())
        r.model = 0;
    else if (!ToInt(m_model, r.model)) {
        error = tr("The model id must be a number.");
        return false;
    }
    if (const std::string problem = ValidateProfile(r); !problem.empty()) {
        error = QString::fromStdString(problem);
        return false;
    }
    p = r;
    return true;
}

} // namespace commlib
