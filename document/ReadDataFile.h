#pragma once

// Reading a data file for the document: the file's model is checked against
// the catalogue (on the connection given, opened when needed) and stored in
// the document's PLC choice together with what the file says of it.

#include "document/DocumentContext.h"
#include "files/DataFiles.h"

#include <string>

class CPlcDatabase;

// ".ldtx": shows its own messages (stop icon); true on success. A damaged file
// shows `IDS_FILE_DAMAGED` with its detail code. Sets the series, model and name.
bool ReadLdtxFile(const DocumentContext& context, CPlcDatabase& db, const std::string& path, EditDataArray& blocks);

// ".ldt": returns an error code and shows nothing. On success the file stays
// open in the context's legacy file, and the series, model, name, legacy texts
// and format code are set; after a failure the file is closed.
FileError ReadLdtFile(const DocumentContext& context, CPlcDatabase& db, const std::string& path, EditDataArray& blocks);

// A data file that is not the document (the other side of a comparison), by
// its extension: its blocks, and in plc its series, model and name. Shows its
// own messages; true on success. Nothing of the file is kept open.
bool ReadOtherDataFile(platform::IMessageBox& messages, const IStringTable& strings, const std::string& cataloguePath,
                       const std::string& path, PlcChoice& plc, EditDataArray& blocks);
