#include "simulated/SystemErrorTexts.h"

#include <map>

namespace {

struct Texts {
  const wchar_t* english;
  const wchar_t* chinese;
};

// The highest Win32 error code; above it FormatMessageW finds no message.
constexpr uint32_t kLastWin32Code = 15999;

const std::map<uint32_t, Texts>& Table() {
  static const std::map<uint32_t, Texts> table = {
      {0, {L"The operation completed successfully.", L"操作成功完成。"}},
      {2, {L"The system cannot find the file specified.", L"系统找不到指定的文件。"}},
      {3, {L"The system cannot find the path specified.", L"系统找不到指定的路径。"}},
      {5, {L"Access is denied.", L"拒绝访问。"}},
      {13, {L"The data is invalid.", L"数据无效。"}},
      {32,
       {L"The process cannot access the file because it is being used by another process.",
        L"另一个程序正在使用此文件，进程无法访问。"}},
      {50, {L"The request is not supported.", L"不支持该请求。"}},
      {87, {L"The parameter is incorrect.", L"参数错误。"}},
      {112, {L"There is not enough space on the disk.", L"磁盘空间不足。"}},
      {123,
       {L"The filename, directory name, or volume label syntax is incorrect.", L"文件名、目录名或卷标语法不正确。"}},
      {170, {L"The requested resource is in use.", L"请求的资源在使用中。"}},
      {183, {L"Cannot create a file when that file already exists.", L"当文件已存在时，无法创建该文件。"}},
      {223, {L"The file size exceeds the limit allowed and cannot be saved.", L"文件大小超出允许的限制，无法保存。"}},
      {259, {L"No more data is available.", L"没有可用的数据了。"}},
      {1167, {L"The device is not connected.", L"设备未连接。"}},
      {1223, {L"The operation was canceled by the user.", L"操作已被用户取消。"}},
      {1244,
       {L"The operation being requested was not performed because the user has not been authenticated.",
        L"由于用户没有经过验证，未执行所请求的操作。"}},
      {1460, {L"This operation returned because the timeout period expired.", L"超时时间已过。"}},
      {1722, {L"The RPC server is unavailable.", L"RPC 服务器不可用。"}},
      {1796, {L"The specified port is unknown.", L"指定的端口未知。"}},
      {1797, {L"The printer driver is unknown.", L"打印机驱动程序未知。"}},
      {1798, {L"The print processor is unknown.", L"打印处理器未知。"}},
      {1801, {L"The printer name is invalid.", L"打印机名无效。"}},
      {1802, {L"The printer already exists.", L"打印机已存在。"}},
      {3001, {L"The specified printer driver is currently in use.", L"指定的打印机驱动程序当前正在使用。"}},
      {3002, {L"The spool file was not found.", L"未找到后台打印文件。"}},
      {3015, {L"The specified printer driver package is currently in use.", L"指定的打印机驱动程序包当前正在使用。"}},
  };
  return table;
}

}  // namespace

std::optional<std::wstring> SystemErrorText(uint32_t code, MessageLanguage language) {
  const auto& table = Table();
  if (auto it = table.find(code); it != table.end()) {
    return std::wstring(language == MessageLanguage::Chinese ? it->second.chinese : it->second.english) + L"\r\n";
  }
  if (code > kLastWin32Code) return std::nullopt;
  const std::wstring number = std::to_wstring(code);
  if (language == MessageLanguage::Chinese) return L"操作失败，系统错误 " + number + L"。\r\n";
  return L"The operation failed with system error " + number + L".\r\n";
}
