#include "catalogue/CPlcDatabase.h"

#include "model/CatalogueLimits.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/RegularFile.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string_view>
#include <utility>

namespace {

// An error reported by SQLite (or a column the result does not have). It never
// leaves this file: the query operations turn it into -2 and a debug line.
struct DatabaseError {
    std::string text;
};

[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return length < 0 ? std::string() : std::string(buffer);
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads text the way the classic text-to-integer conversion does: leading white
// space, an optional sign, then digits up to the first other character; no
// digits give 0. A number beyond the 32-bit range stops at its limit.
std::int32_t TextToInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value == limit ? limit - 1 : value);
}

std::int32_t DataRegSizeOfPattern(const stPLC& model)
{
    switch (model.DefaultPatternNo) {
    case 0: return model.DataRegSize1;
    case 1: return model.DataRegSize2;
    case 2: return model.DataRegSize3;
    case 3: return model.DataRegSize4;
    case 4: return model.DataRegSize5;
    default: return 0;
    }
}

void ReportQueryError(const char* prefix, const std::string& sql, const DatabaseError& error)
{
    platform::DebugOutput(prefix + sql + "\n" + error.text + "\n");
}

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

} // namespace

std::string CatalogueLocation()
{
    const char* configured = std::getenv("MEMORIX_CATALOGUE");
    if (configured && *configured)
        return configured;
    return platform::ProgramFolder() + "/Memorix.db";
}

// The result of one query, positioned on its current row. Columns are looked up
// by name and read as text, the way every catalogue field is read.
class CPlcDatabase::Recordset {
public:
    Recordset(sqlite3* db, const std::string& sql)
        : m_db(db)
    {
        if (!m_db)
            throw DatabaseError{"the catalogue is not open"};
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(statement);
            throw DatabaseError{sqlite3_errmsg(m_db)};
        }
        m_statement.reset(statement);
        MoveNext();
    }

    bool IsEOF() const { return m_eof; }

    void MoveNext()
    {
        if (!m_statement) {
            m_eof = true;
            return;
        }
        const int rc = sqlite3_step(m_statement.get());
        if (rc == SQLITE_ROW) {
            m_eof = false;
            return;
        }
        m_eof = true;
        if (rc != SQLITE_DONE)
            throw DatabaseError{sqlite3_errmsg(m_db)};
    }

    std::string GetFieldString(const char* column) const
    {
        const int index = ColumnIndex(column);
        if (sqlite3_column_type(m_statement.get(), index) == SQLITE_NULL)
            return {};
        const unsigned char* text = sqlite3_column_text(m_statement.get(), index);
        if (!text)
            throw DatabaseError{sqlite3_errmsg(m_db)};
        const int length = sqlite3_column_bytes(m_statement.get(), index);
        return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
    }

    std::int32_t GetFieldInt(const char* column) const { return TextToInt(GetFieldString(column)); }

    std::uint8_t GetFieldByte(const char* column) const
    {
        return static_cast<std::uint8_t>(static_cast<std::uint32_t>(GetFieldInt(column)) & 0xFFu);
    }

private:
    int ColumnIndex(const char* column) const
    {
        const int count = m_statement ? sqlite3_column_count(m_statement.get()) : 0;
        for (int i = 0; i < count; ++i) {
            const char* name = sqlite3_column_name(m_statement.get(), i);
            if (name && sqlite3_stricmp(name, column) == 0)
                return i;
        }
        throw DatabaseError{std::string("no column named ") + column + " in the result"};
    }

    sqlite3* m_db;
    std::unique_ptr<sqlite3_stmt, StatementDeleter> m_statement;
    bool m_eof = true;
};

CPlcDatabase::CPlcDatabase(platform::IMessageBox& messages, std::string path)
    : m_messages(messages)
    , m_path(std::move(path))
{
}

CPlcDatabase::~CPlcDatabase()
{
    DBConnect(false);
}

int CPlcDatabase::DBConnect(bool open)
{
    if (open)
        return DBOpen() ? 1 : 0;
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    return 1;
}

bool CPlcDatabase::DBOpen()
{
    if (m_db)
        return true;

    std::string error;
    struct stat info {};
    if (m_path.empty()) {
        // SQLite would open an empty private database for an empty name.
        error = "no catalogue file given";
    } else if (::stat(m_path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        // SQLite's own open would wait on a named pipe for good.
        error = platform::NotAFileText(info.st_mode) + ": " + m_path;
    } else {
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(m_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        // Opening is lazy; reading the schema makes a file that is not a
        // database fail here rather than in the first query.
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) {
            m_db = db;
            return true;
        }
        error = std::string(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + ": " + m_path;
        sqlite3_close_v2(db);
    }

    platform::MessageRequest request;
    request.stringId = 0;
    request.text = "Database open err: OPENERR [DBOpen] \n" + error;
    request.icon = platform::MsgIcon::Information;
    request.buttons = platform::MsgButtons::Ok;
    m_messages.Show(request);
    return false;
}

int CPlcDatabase::GetDBPLCSeriesAry(std::vector<stPLCSeries>& series)
{
    series.clear();
    std::string sql = "SELECT DISTINCT MPLCSeries.*, MPLC.DisableFlg ";
    sql += "FROM MPLCSeries, MPLC ";
    sql += "WHERE MPLCSeries.PLCSeriesNo = MPLC.PLCSeriesNo AND MPLC.DisableFlg = No ";
    sql += "ORDER BY MPLCSeries.PLCSeriesNo;";
    try {
        for (Recordset rs(m_db, sql); !rs.IsEOF(); rs.MoveNext()) {
            stPLCSeries row;
            row.PLCSeriesNo = rs.GetFieldInt("PLCSeriesNo");
            row.SeriesName = rs.GetFieldString("SeriesName");
            series.push_back(std::move(row));
        }
    } catch (const DatabaseError& error) {
        ReportQueryError("SQL Error: **SQL0810** [GetDBPLCSeriesAry] SQL=", sql, error);
        return -2;
    }
    return static_cast<int>(series.size());
}

int CPlcDatabase::GetDBPLCAry(int seriesNo, std::vector<stPLC>& models)
{
    models.clear();
    const std::string sql =
        Format("SELECT * FROM MPLC WHERE PLCSeriesNo = %d AND DisableFlg = 0 ORDER BY DispOrder;", seriesNo);
    try {
        for (Recordset rs(m_db, sql); !rs.IsEOF(); rs.MoveNext()) {
            stPLC row;
            GetRSPLCRec(rs, row);
            models.push_back(std::move(row));
        }
    } catch (const DatabaseError& error) {
        ReportQueryError("SQL Error!! **SQL0110** [GetDBPLCAry] strSql =", sql, error);
        return -2;
    }
    return static_cast<int>(models.size());
}

int CPlcDatabase::GetDBPLCRec(stPLC& model, int modelId)
{
    std::string sql = Format("SELECT * FROM MPLC WHERE Id = %d", modelId);
    sql += " AND DisableFlg = No ;";
    try {
        Recordset rs(m_db, sql);
        if (rs.IsEOF())
            return 0;
        stPLC row;
        GetRSPLCRec(rs, row);
        model = std::move(row);
        return 1;
    } catch (const DatabaseError& error) {
        ReportQueryError("DB Error!! **SQL0110** [GetDBPLCRec] SQL=", sql, error);
        return -2;
    }
}

int CPlcDatabase::GetDBDeviceInstAry(std::vector<stDeviceInst>& devices, int modelId, int deviceCode)
{
    devices.clear();
    std::string sql = "SELECT * FROM MDevice";
    sql += Format(" WHERE PlcId = %d", modelId);
    if (deviceCode >= 0)
        sql += Format("  AND Id = %d", deviceCode);
    sql += " ORDER BY DispOrder, Id;";
    try {
        for (Recordset rs(m_db, sql); !rs.IsEOF(); rs.MoveNext()) {
            stDeviceInst row;
            GetRSDeviceInstRec(rs, row);
            devices.push_back(std::move(row));
        }
    } catch (const DatabaseError& error) {
        ReportQueryError("SQL Error!! **SQL0450** [GetDBDeviceInstAry] SQL=", sql, error);
        return -2;
    }
    return static_cast<int>(devices.size());
}

// A field that cannot be read ends the copy: the fields before it keep their
// values and the caller still takes the row.
void CPlcDatabase::GetRSPLCRec(Recordset& rs, stPLC& model)
{
    try {
        model.Id = rs.GetFieldInt("Id");
        model.FullName = rs.GetFieldString("FullName");
        model.PLCSeriesNo = rs.GetFieldInt("PLCSeriesNo");
        model.DispOrder = rs.GetFieldInt("DispOrder");
        model.DefaultPatternNo = rs.GetFieldByte("DefaultPatternNo");
        model.DataRegSize1 = rs.GetFieldInt("DataRegSize1");
        model.DataRegSize2 = rs.GetFieldInt("DataRegSize2");
        model.DataRegSize3 = rs.GetFieldInt("DataRegSize3");
        model.DataRegSize4 = rs.GetFieldInt("DataRegSize4");
        model.DataRegSize5 = rs.GetFieldInt("DataRegSize5");
        model.Is16bitCPUFlg = rs.GetFieldInt("Is16bitCPUFlg");
        model.FLBankNum = rs.GetFieldByte("FLBankNum");
        model.DefaultDataRegSize = DataRegSizeOfPattern(model);
    } catch (const DatabaseError& error) {
        platform::DebugOutput("SQL Error!! **SQL0120** [GetRSPLCRec] " + error.text + "\n");
    }
}

void CPlcDatabase::GetRSDeviceInstRec(Recordset& rs, stDeviceInst& device)
{
    try {
        device.PlcId = rs.GetFieldInt("PlcId");
        device.Id = rs.GetFieldByte("Id");
        device.DispOrder = rs.GetFieldInt("DispOrder");
        device.Name = rs.GetFieldString("Name");
        device.MinValue = rs.GetFieldInt("MinValue");
        device.MaxValue = rs.GetFieldInt("MaxValue");
        device.DataSize = rs.GetFieldInt("DataSize");
    } catch (const DatabaseError& error) {
        platform::DebugOutput("SQL Error!! **SQL0400** [GetRSDeviceInstRec] " + error.text + "\n");
    }
}

bool CPlcDatabase::CheckModelRows(const stPLC& model, const std::vector<stDeviceInst>& devices)
{
    const std::string fault = CatalogueModelFault(model, devices);
    if (fault.empty())
        return true;
    platform::MessageRequest request;
    request.stringId = 0;
    request.text = "The catalogue " + m_path + " cannot be used:\n" + fault;
    request.icon = platform::MsgIcon::Stop;
    request.buttons = platform::MsgButtons::Ok;
    m_messages.Show(request);
    return false;
}

// Both look-ups leave a connection that was already open as they found it.
bool CPlcDatabase::IsKnownPlc(int seriesNo, int modelId)
{
    const bool wasOpen = IsOpen();
    if (DBConnect(true) != 1)
        return false;

    bool known = false;
    std::vector<stPLCSeries> series;
    GetDBPLCSeriesAry(series);
    for (const stPLCSeries& entry : series) {
        if (entry.PLCSeriesNo != seriesNo)
            continue;
        std::vector<stPLC> models;
        GetDBPLCAry(entry.PLCSeriesNo, models);
        for (const stPLC& model : models)
            known = known || model.Id == modelId;
    }

    if (!wasOpen)
        DBConnect(false);
    return known;
}

bool CPlcDatabase::FindPlcById(int modelId, stPLC& model)
{
    const bool wasOpen = IsOpen();
    if (DBConnect(true) != 1)
        return false;
    const bool found = GetDBPLCRec(model, modelId) > 0;
    if (!wasOpen)
        DBConnect(false);
    return found;
}
