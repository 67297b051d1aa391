#include "format/FormatStoreMessages.h"

#include <iterator>

namespace {

constexpr TMsgDlgButtons Yes_No = TMsgDlgButtons(mbYes) | mbNo;
// The save question ends a design session: Cancel goes back to designing.
constexpr TMsgDlgButtons Yes_No_Cancel = Yes_No | mbCancel;
constexpr TMsgDlgButtons Ok = TMsgDlgButtons(mbOK);
constexpr TMsgDlgButtons NoButtons = TMsgDlgButtons();

// In the order of TStoreMessage.
const TStoreMessageText texts[] = {
    {TStoreMessage::EnsureSave, "EnssureSave", "你是否想要保存呢?", mtWarning, Yes_No_Cancel},
    {TStoreMessage::SaveFormatName, "SaveFormatName", "凭证格式档名称", mtCustom, NoButtons},
    {TStoreMessage::SaveFormat, "SaveFormat", "保存凭证格式档", mtCustom, NoButtons},
    {TStoreMessage::StoreRaised, "SaveFormatError", "保存失败，请检查数据库的设置是否有错!", mtWarning, Ok},
    {TStoreMessage::FormatExists, "FormatExists", "该格式档[%s]已经存在，你是否想要继续保存呢?", mtWarning,
        Yes_No},
    {TStoreMessage::FormatLockError, "FormatLockError", "锁定格式档失败，请重新编辑保存！！", mtWarning, Ok},
    {TStoreMessage::RefreshFormatError, "RefreshFormatError", "更新格式档失败，请重新编辑保存！！", mtWarning,
        Ok},
    {TStoreMessage::InsertFailed, "SaveFormatError", "保存格式档失败，请重新编辑保存！！", mtWarning, Ok},
    {TStoreMessage::LocalFileFailed, "LocalFileFailed",
        "保存本地文件失败，请检查自定义凭证路径是否存在或是否有权限写入!", mtWarning, Ok},
    {TStoreMessage::LoadLastFailed, "LoadLastFailed", "是否加载上次保存失败时的修改!", mtWarning, Yes_No},
    {TStoreMessage::LoadLocalCaption, "LoadLocalCaption", "加载本地凭证格式档", mtCustom, NoButtons},
    {TStoreMessage::LoadLocalPrompt, "LoadLocalPrompt", "凭证格式档名称", mtCustom, NoButtons},
    {TStoreMessage::SaveAsFormatName, "SaveAsFormatName", "凭证格式档名称", mtCustom, NoButtons},
    {TStoreMessage::SaveAsFormat, "SaveAsFormat", "另存凭证格式档", mtCustom, NoButtons},
    {TStoreMessage::SaveAsFormatOK, "SaveAsFormatOK", "另存格式档成功，当前的格式档名称变为：", mtInformation,
        Ok},
    {TStoreMessage::SaveFormatOK, "SaveFormatOK", "保存格式档成功，当前的格式档名称变为：", mtInformation,
        Ok},
    {TStoreMessage::NameLengthError, "NameLengthError", "自定单据格式名称不可大于 %d 码", mtWarning, Ok},
    {TStoreMessage::PlsNewName, "PlsNewName", "请输入一个新的凭证格式档名称", mtWarning, Ok},
    {TStoreMessage::NameIsBlank, "NameIsBlank", "当前的凭证格式档名称为空白，是否继续保存？", mtWarning,
        Yes_No},
    {TStoreMessage::NewLabel, "NewLabel", "新建标签", mtCustom, NoButtons},
};

static_assert(std::size(texts) == static_cast<std::size_t>(TStoreMessage::NewLabel) + 1);

} // namespace

const TStoreMessageText& StoreMessageText(TStoreMessage id)
{
    return texts[static_cast<int>(id)];
}
