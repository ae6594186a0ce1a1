// Builds the catalogue file from its SQL source:
//
//     memorix-build-catalogue <source.sql> <output.db>
//
// The database is built under a temporary name beside the output and renamed
// over it only when complete, so a failed or interrupted build never leaves a
// partial catalogue where the program looks for it.

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

int LineOf(const std::string& text, std::size_t offset)
{
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n')
            ++line;
    return line;
}

bool Exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "memorix-build-catalogue: %s: %s\n", sql, error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    return false;
}

// Runs the source one statement at a time so that an error names its line.
bool RunSource(sqlite3* db, const std::string& sourcePath, const std::string& sql)
{
    const char* const begin = sql.c_str();
    const char* next = begin;
    while (*next != '\0') {
        sqlite3_stmt* statement = nullptr;
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(db, next, -1, &statement, &tail);
        const char* const start = next;
        next = tail ? tail : next + std::strlen(next);
        if (rc == SQLITE_OK && statement) {
            while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            }
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        sqlite3_finalize(statement);
        if (rc != SQLITE_OK) {
            // Point at the statement's first line, past any comments and blank lines.
            std::size_t offset = static_cast<std::size_t>(start - begin);
            offset = sql.find_first_not_of(" \t\r\n", offset);
            while (offset != std::string::npos && sql.compare(offset, 2, "--") == 0)
                offset = sql.find_first_not_of(" \t\r\n", sql.find('\n', offset));
            std::fprintf(stderr, "%s:%d: error: %s\n", sourcePath.c_str(), LineOf(sql, offset), sqlite3_errmsg(db));
            return false;
        }
    }
    return true;
}

bool Build(const std::string& sourcePath, const std::string& sql, const std::string& dbPath)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "memorix-build-catalogue: cannot open %s: %s\n", dbPath.c_str(),
                     db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return false;
    }
    bool ok = Exec(db, "PRAGMA foreign_keys = ON;") && Exec(db, "BEGIN;");
    ok = ok && RunSource(db, sourcePath, sql);
    ok = ok && Exec(db, "COMMIT;");
    if (sqlite3_close(db) != SQLITE_OK) {
        std::fprintf(stderr, "memorix-build-catalogue: closing %s: %s\n", dbPath.c_str(), sqlite3_errmsg(db));
        ok = false;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: memorix-build-catalogue <source.sql> <output.db>\n");
        return 2;
    }
    const std::string sourcePath = argv[1];
    const std::string outputPath = argv[2];

    std::string sql;
    if (!ReadFile(sourcePath, sql)) {
        std::fprintf(stderr, "memorix-build-catalogue: cannot read %s\n", sourcePath.c_str());
        return 1;
    }

    std::vector<char> temp(outputPath.begin(), outputPath.end());
    const std::string suffix = ".XXXXXX";
    temp.insert(temp.end(), suffix.begin(), suffix.end());
    temp.push_back('\0');
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        std::fprintf(stderr, "memorix-build-catalogue: cannot create a file beside %s: %s\n", outputPath.c_str(),
                     std::strerror(errno));
        return 1;
    }
    close(fd);
    const std::string tempPath = temp.data();

    if (!Build(sourcePath, sql, tempPath)) {
        std::remove(tempPath.c_str());
        return 1;
    }
    // mkstemp makes the file private to its owner; the catalogue is read by everyone.
    if (chmod(tempPath.c_str(), 0644) != 0 || std::rename(tempPath.c_str(), outputPath.c_str()) != 0) {
        std::fprintf(stderr, "memorix-build-catalogue: cannot write %s: %s\n", outputPath.c_str(),
                     std::strerror(errno));
        std::remove(tempPath.c_str());
        return 1;
    }
    return 0;
}
