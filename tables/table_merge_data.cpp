#include "table_merge_data.h"

#include "dev_type_entry.h"
#include "korvel_entry.h"
#include "table_ids.h"

namespace {
DuplicateField Text(UINT id, const std::string& text)
{
    return {id, text, false, false};
}
}  // namespace

const TableMergeResources TableMergeTraits<CDevTypeEntry>::kResources = {
    IDD_DEVTYPE_MERGE_FILE, IDC_DEVTYPE_MERGE_REPLACE_TABLE, IDD_DEVTYPE_DUPLICATE, IDC_DEVTYPE_DUP_STOP,
    IDS_DEVTYPE_MERGE_FILTER};

std::vector<DuplicateField> TableMergeTraits<CDevTypeEntry>::DuplicateFields(const CDevTypeEntry& old,
                                                                               const CDevTypeEntry& incoming)
{
    return {Text(IDC_DEVTYPE_DUP_OLD_TYPE, old.m_strPrinterType),
            {IDC_DEVTYPE_DUP_OLD_PS, {}, true, old.IsPostScript()},
            Text(IDC_DEVTYPE_DUP_OLD_REMARK, old.m_strRemark),
            Text(IDC_DEVTYPE_DUP_NEW_TYPE, incoming.m_strPrinterType),
            {IDC_DEVTYPE_DUP_NEW_PS, {}, true, incoming.IsPostScript()},
            Text(IDC_DEVTYPE_DUP_NEW_REMARK, incoming.m_strRemark)};
}

const TableMergeResources TableMergeTraits<CKorvelEntry>::kResources = {
    IDD_KORVEL_MERGE_FILE, IDC_KORVEL_MERGE_REPLACE_TABLE, IDD_KORVEL_DUPLICATE, IDC_KORVEL_DUP_STOP,
    IDS_KORVEL_MERGE_FILTER};

std::vector<DuplicateField> TableMergeTraits<CKorvelEntry>::DuplicateFields(const CKorvelEntry& old,
                                                                              const CKorvelEntry& incoming)
{
    return {Text(IDC_KORVEL_DUP_OLD_EXTENSION, old.m_strExtension), Text(IDC_KORVEL_DUP_OLD_TYPE, old.m_strMacType),
            Text(IDC_KORVEL_DUP_OLD_CREATOR, old.m_strMacCreator), Text(IDC_KORVEL_DUP_OLD_REMARK, old.m_strRemark),
            Text(IDC_KORVEL_DUP_NEW_EXTENSION, incoming.m_strExtension),
            Text(IDC_KORVEL_DUP_NEW_TYPE, incoming.m_strMacType),
            Text(IDC_KORVEL_DUP_NEW_CREATOR, incoming.m_strMacCreator),
            Text(IDC_KORVEL_DUP_NEW_REMARK, incoming.m_strRemark)};
}
