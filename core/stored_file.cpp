#include "core/stored_file.h"

namespace talvo {

std::u16string SaveTroubleWords(SaveTrouble trouble) {
  switch (trouble) {
    case SaveTrouble::kNone:
      return {};
    case SaveTrouble::kDiskFull:
      return u"磁盘已满";
    case SaveTrouble::kNotAllowed:
      return u"没有写入权限";
    case SaveTrouble::kNoFolder:
      return u"文件夹不存在";
    case SaveTrouble::kOther:
      break;
  }
  return u"写入失败";
}

}  // namespace talvo
