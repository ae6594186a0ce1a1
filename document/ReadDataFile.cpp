#include "document/ReadDataFile.h"

#include "catalogue/CPlcDatabase.h"
#include "document/FileErrors.h"
#include "document/CMemorixDoc.h"
#include "platform/DenyWriteFile.h"
#include "resources/Messages.h"
#include "resources/ResourceIds.h"

bool ReadLdtxFile(const DocumentContext& context, CPlcDatabase& db, const std::string& path, EditDataArray& blocks)
{
    LdtxReader reader(path);
    LdtxHeader header;
    LdtxResult result = reader.ReadHeader(header);
    if (!result.ok()) {
        ReportLdtxFault(context.messages, context.strings, path, result);
        return false;
    }
    stPLC model;
    if (db.DBConnect(true) != 1 || db.GetDBPLCRec(model, header.modelId) <= 0) {
        ShowResourceMessage(context.messages, context.strings, res::IDS_FILE_UNKNOWN_MODEL, platform::MsgIcon::Stop);
        return false;
    }
    // The name is the catalogue's when the file's series lists the model.
    std::string name = context.plc.m_strPLCName;
    std::vector<stPLC> models;
    db.GetDBPLCAry(header.seriesNo, models);
    for (const stPLC& listed : models) {
        if (listed.PLCSeriesNo == header.seriesNo && listed.Id == header.modelId) {
            name = listed.FullName;
            break;
        }
    }
    context.plc.SetIdentity(header.seriesNo, header.modelId, std::move(name));
    result = reader.ReadBlocks(blocks);
    if (!result.ok()) {
        ReportLdtxFault(context.messages, context.strings, path, result);
        return false;
    }
    return true;
}

FileError ReadLdtFile(const DocumentContext& context, CPlcDatabase& db, const std::string& path, EditDataArray& blocks)
{
    LdtReader reader(context.legacyFile, path);
    LdtHeader header;
    FileError error = reader.ReadHeader(header);
    stPLC model;
    if (error == FileError::None && (db.DBConnect(true) != 1 || db.GetDBPLCRec(model, header.modelId) <= 0))
        error = FileError::UnknownModel;
    // The areas are read even when the header is not right; their damage is
    // what gets reported then.
    if (error == FileError::None)
        error = reader.ReadBlocks(blocks);
    else
        blocks.clear();
    if (error == FileError::None && !header.magicOk)
        error = FileError::NotDataFile;
    else if (error == FileError::None && model.PLCSeriesNo <= 0)
        error = FileError::UnknownModel;
    if (error != FileError::None) {
        // A header fault found after the areas were read leaves them in blocks;
        // nothing is stored as the PLC and the file is not kept.
        reader.Fail();
        return error;
    }
    context.plc.SetIdentity(model.PLCSeriesNo, model.Id, model.FullName);
    context.plc.SetLegacyHeader(header.text1, header.text2, header.format);
    return FileError::None;
}

bool ReadOtherDataFile(platform::IMessageBox& messages, const IStringTable& strings, const std::string& cataloguePath,
                       const std::string& path, PlcChoice& plc, EditDataArray& blocks)
{
    platform::DenyWriteFile kept;
    int filterIndex = 0;
    const DocumentContext context{messages, strings, cataloguePath, plc, kept, filterIndex};
    CPlcDatabase db(messages, cataloguePath);
    const std::string extension = LowerExtension(path);
    if (extension == ".ldtx")
        return ReadLdtxFile(context, db, path, blocks);
    if (extension != ".ldt")
        return false;
    const FileError error = ReadLdtFile(context, db, path, blocks);
    if (error != FileError::None) {
        ReportFileError(messages, strings, error);
        blocks.clear();
        return false;
    }
    return true;
}
