#pragma once

// Reading a comma- or tab-separated file into the grid's block, from the first
// cell on: line r fills row r, field c column c, each field read as a cell
// text of the layout's radix and unit (see CsvLineReader.h for how the bytes
// become lines). A field in double quotes is read as its content (see
// CsvField.h). Every field is stored, an empty or invalid one as zero, so an
// empty line zeroes column 0 of its row. Fields right of the last data column
// or after the end of the data and lines below the last row are ignored; cells
// a short line does not reach keep their bytes.

#include "csv/CsvLineReader.h"
#include "grid/GridLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What an import met besides values: the fields that were not empty and yet
// no valid value of the radix and unit, and so became zero.
struct CsvImportReport {
    struct Position {
        int line = 0;  // counted from 1
        int field = 0; // counted from 1
    };
    static constexpr std::size_t kKeptPositions = 5;

    std::size_t invalidFields = 0;
    std::vector<Position> firstInvalid; // the first kKeptPositions of them
    std::string failure;                // why the file could not be opened or read
};

// The block's bytes after reading the lines read gives; none after a read
// error. separator none: each line is one field. report, when given, is filled.
std::optional<std::vector<std::uint8_t>> ReadCsv(const GridLayout& layout, std::optional<char> separator,
                                                 CsvLineReader::ReadFunction read, CsvImportReport* report = nullptr);

// The same for the file at path, with the separator of CsvImportSeparator; none
// when the file cannot be opened or read (report->failure says why: a named
// pipe or a device is no file to import). The file is kept from other writers
// while it is read.
std::optional<std::vector<std::uint8_t>> ImportCsv(const GridLayout& layout, const std::string& path,
                                                   CsvImportReport* report = nullptr);
