// Vietnamese resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Đang cài đặt cấu hình";
constexpr const char* kCancel = "Hủy";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Trước"},
    {"IDS_WIZARD_NEXT", "Tiếp >"},
    {"IDS_WIZARD_FINISH", "OK"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Bạn có thực sự muốn hủy cài đặt không?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Đang chuẩn bị sao chép..."},
    {"IDS_INSTALL_ERROR", "Lỗi cài đặt"},
    {"IDS_ERROR_NOSOURCE", "Không tìm thấy tệp bộ cài đặt orbp8.pkd."},
    {"IDS_ERROR_NOTARGET", "Không hỗ trợ cài đặt mẫu vào thư mục hiện tại."},
    {"IDS_ERROR_NOSPACE", "Không đủ dung lượng trống trong thư mục Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Thư mục:"},
    {"IDS_CHOOSEDIR_TITLE", "Chọn thư mục"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Hãy chỉ định đường dẫn đúng tới thư mục mẫu."},
    {"IDS_INSTALL_FINISH", "Đã sao chép xong..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Tệp bộ cài đặt orbp8.pkd bị hỏng hoặc không dành cho chương trình cài đặt này."},
    {"IDS_DEFPRODUCT", "<Sản phẩm>"},
    {"IDS_DEFPROVIDER", "<Nhà cung cấp>"},
    {"IDS_SUCCESS_FINISH", "Cấu hình đã được cài đặt thành công."},
    {"IDS_SUCCESS_OPENDESCR", "Mở mô tả của bộ cài đặt"},
    {"IDS_PROGRESS_START", "Đang sao chép các tệp..."},
    {"IDS_ERROR_FINISH",
     "Đã xảy ra lỗi trong quá trình cài đặt. Cài đặt đã bị hủy. Thư mục mẫu không bị thay đổi."},
    {"IDS_CANCEL_FINISH", "Cài đặt đã bị hủy. Thư mục mẫu không bị thay đổi."},
    {"IDS_RECOVERED",
     "Một lần cài đặt bị gián đoạn đã được hoàn tác, thư mục mẫu đã trở lại trạng thái trước khi "
     "cài đặt:"},
    {"IDS_RECOVERY_FAILED",
     "Không thể hoàn tác hoàn toàn một lần cài đặt bị gián đoạn. Các phiên bản đã lưu của các tệp "
     "của bạn được giữ trong thư mục:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Cài đặt đã bị hủy. Không thể khôi phục tất cả các tệp của thư mục mẫu; các phiên bản đã lưu "
     "của các tệp của bạn được giữ trong thư mục:"},
    {"IDS_TARGET_BUSY",
     "Một quá trình cài đặt khác vào thư mục mẫu này đang chạy. Hãy thử lại khi quá trình đó hoàn "
     "tất:"},
    {"IDS_ERROR_RECORDDIR",
     "Các mẫu đã được cài đặt, nhưng không thể ghi thư mục mẫu vào tệp cấu hình của chương trình "
     "khởi chạy:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Tại vị trí bộ cài đặt cần một thư mục lại có một liên kết tượng trưng hoặc một tệp:"},
    {"IDS_ERROR_KITOPEN", "Không thể đọc hoặc giải nén tệp bộ cài đặt orbp8.pkd:"},
    {"IDS_ROLLBACK_PROGRESS", "Đang khôi phục phiên bản trước..."},
    {"IDS_NODISPLAY",
     "Không có màn hình hiển thị. Hãy chạy chương trình với -S để cài đặt mà không cần cửa sổ."},
    {"IDS_REASON_DISKFULL", "không đủ dung lượng trên đĩa."},
    {"IDS_REASON_ACCESS", "không có quyền truy cập."},
    {"IDS_REASON_READONLY", "hệ thống tệp chỉ cho phép đọc."},
    {"IDS_REASON_INTHEWAY", "một tệp hoặc thư mục cùng tên đang cản trở."},
    {"IDS_REASON_LINK", "một liên kết tượng trưng nằm ở nơi cần có thư mục hoặc tệp."},
    {"IDS_REASON_NOTFOUND", "tệp hoặc thư mục không tồn tại."},
    {"IDS_REASON_DAMAGED", "dữ liệu của bộ cài đặt bị hỏng."},
    {"IDS_REASON_RESTORE", "không thể khôi phục phiên bản trước."},
    {"IDS_REASON_IO", "không thể đọc hoặc ghi đĩa (lỗi nhập/xuất)."},
    {"IDS_REASON_OTHER", "lỗi hệ thống"},
    {"IDS_BOX_YES", "Có"},
    {"IDS_BOX_NO", "Không"},
    {"IDS_BOX_OK", "Đồng ý"},
    {"IDS_SUMMARY",
     "Tóm tắt: đã tạo {created}, đã thay thế {replaced}, không đổi {unchanged}, đã ghi {bytes} "
     "byte."},
    {"IDS_SUMMARY_DRYRUN",
     "Chạy thử, không có gì bị thay đổi: sẽ tạo {created}, sẽ thay thế {replaced}, không đổi "
     "{unchanged}, sẽ ghi {bytes} byte."},
    {"IDS_BROWSE_SELDIR", "Thư mục đã chọn:"},
    {"IDS_BROWSE_OK", "Chọn"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Chào mừng bạn đến với chương trình cài đặt sản phẩm"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Thư mục cài đặt chứa các tệp có thể bị thay đổi trong quá trình cài đặt. Bạn có muốn tiếp "
     "tục không?"},
    {"IDS_DESTINATION_PROMPT",
     "Hãy chỉ định đường dẫn tới thư mục mẫu. Chương trình cài đặt sẽ cài đặt các mẫu và tệp cấu "
     "hình vào thư mục đã chỉ định."},
    {"IDS_TEMPLATE_CATALOG", "Thư mục mẫu:"},
    {"IDS_ERROR_SIGNATURE",
     "Không thể xác minh chữ ký của tệp bộ cài đặt orbp8.pkd. Không có gì được cài đặt:"},
    {"IDS_SIGREASON_MISSING",
     "bộ cài đặt chưa được ký (không có tệp .minisig bên cạnh), nhưng đã cấu hình khóa tin cậy."},
    {"IDS_SIGREASON_NOTREGULAR",
     "không phải tệp thông thường (liên kết tượng trưng, thư mục hoặc đường ống)."},
    {"IDS_SIGREASON_TOOLARGE", "quá lớn đối với tệp chữ ký hoặc tệp khóa."},
    {"IDS_SIGREASON_MALFORMED", "không phải chữ ký hoặc khóa công khai minisign, hoặc đã bị hỏng."},
    {"IDS_SIGREASON_ALGORITHM",
     "thuật toán chữ ký không xác định hoặc không dùng được cho bộ cài đặt này."},
    {"IDS_SIGREASON_UNSAFE",
     "chủ sở hữu không phải root hay bạn, hoặc người khác có thể ghi vào; không được tin cậy."},
    {"IDS_SIGREASON_OTHERKEY", "được ký bằng một khóa không được tin cậy."},
    {"IDS_SIGREASON_MISMATCH",
     "chữ ký không khớp với bộ cài đặt (bị thay đổi sau khi ký, hoặc là chữ ký của tệp khác)."},
    {"IDS_SIGREASON_COMMENT", "chú thích tin cậy của chữ ký đã bị thay đổi."},
    {"IDS_REASON_KITCHANGED",
     "bộ cài đặt đã thay đổi trên đĩa sau khi chữ ký của nó được kiểm tra."},
    {"IDS_SIGNATURE_VERIFIED", "Chữ ký đã được xác minh bằng khóa:"},
};

}  // namespace

const LanguageSource kVietnameseSource = {"vi", kTexts, std::size(kTexts)};

}  // namespace text
