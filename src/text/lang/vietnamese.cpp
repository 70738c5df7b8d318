// Vietnamese resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Đang cài đặt cấu hình";
constexpr const char* kCancel = "Hủy";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Quay lại"},
    {"IDS_WIZARD_NEXT", "Tiếp tục >"},
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
    {"IDS_REASON_NOTREGULAR",
     "đây không phải là tệp thông thường (một đường ống, thiết bị, liên kết hoặc thư mục)."},
    {"IDS_REASON_UNTRUSTED",
     "nó thuộc về người dùng khác, hoặc người khác có thể ghi vào."},
    {"IDS_REASON_TOOLARGE",
     "nó quá lớn so với những gì nó phải là."},
    {"IDS_REASON_NOTRECORD",
     "đây không phải là bản ghi của chương trình cài đặt này."},
    {"IDS_RECOVERY_PASSED_OVER",
     "Một bản ghi cài đặt chưa hoàn tất không đáng tin cậy và được giữ nguyên:"},
    {"IDS_RECOVERY_LEFT_ALONE",
     "Khi hoàn tác cài đặt bị gián đoạn, tệp này được giữ lại vì nó không còn thuộc về cài đặt:"},
    {"IDS_FOREIGN_BACKUP_ROOT",
     "Một thư mục sao lưu không thuộc về lần cài đặt này đang chặn thư mục mẫu:"},
    {"IDS_DRYRUN_PENDING",
     "Có một lần cài đặt bị gián đoạn: lần chạy thật sẽ hoàn tác nó trước trong"},
    {"IDS_CLEANUP_WARNING",
     "Cảnh báo: các mẫu đã được cài đặt, nhưng không thể dọn dẹp mục này:"},
    {"IDS_KIT_LOOKED_IN", "Đã tìm trong thư mục:"},
    {"IDS_KIT_USECWD",
     "Hãy đặt tệp bộ cài đặt cạnh chương trình, hoặc chạy “setup usecwd” trong thư mục chứa tệp "
     "đó."},
    {"IDS_BAD_TARGET", "Không thể dùng thư mục mẫu được chỉ định bằng -D:"},
    {"IDS_UNKNOWN_OPTION", "đã bỏ qua tùy chọn không xác định:"},
    {"IDS_LOG_UNWRITABLE", "không thể ghi nhật ký"},
    {"IDS_DRYRUN_FAILED",
     "Chạy thử: việc cài đặt sẽ thất bại. Không có gì được cài đặt hoặc thay đổi."},
    {"IDS_USAGE",
     "setup {version} - cài đặt các mẫu cấu hình từ bộ cài đặt orbp8.pkd\n"
     "\n"
     "Cách dùng: setup [usecwd [THƯ_MỤC]] [TÙY_CHỌN]...\n"
     "Bộ cài đặt nằm cạnh chương trình; với usecwd, nó được tìm trong thư mục hiện\n"
     "tại, hoặc trong THƯ_MỤC bên trong đó khi THƯ_MỤC là đối số duy nhất còn lại.\n"
     "\n"
     "Tùy chọn bắt đầu bằng - hoặc /, chữ cái viết hoa hay thường đều được. Tùy chọn\n"
     "sau -L không được đọc; mọi tùy chọn khác bị bỏ qua kèm một cảnh báo trên luồng\n"
     "lỗi.\n"
     "  -S          không cần người dùng: cài đặt không hỏi; khi không có màn hình,\n"
     "              thông báo và tiến độ được ghi ra luồng lỗi chuẩn\n"
     "  -N          chạy thử: đọc bộ cài đặt và cho biết những gì sẽ được tạo,\n"
     "              thay thế hoặc giữ nguyên, không thay đổi gì trên đĩa; không cần\n"
     "              người dùng, không có cửa sổ\n"
     "  -DĐƯỜNG_DẪN thư mục mẫu: nơi lần chạy không cần người dùng cài đặt vào và\n"
     "              thư mục trình hướng dẫn đề xuất; sau khi cài đặt, nó được ghi\n"
     "              lại cho chương trình khởi chạy (\"~\" là thư mục nhà, ĐƯỜNG_DẪN\n"
     "              tương đối được tính từ thư mục hiện tại)\n"
     "  -GĐƯỜNG_DẪN ghi thêm nhật ký cài đặt vào tệp ĐƯỜNG_DẪN (chế độ 0600)\n"
     "  -KĐƯỜNG_DẪN tin cả khóa công khai minisign trong tệp ĐƯỜNG_DẪN (lặp lại được);\n"
     "              khi có khóa tin cậy (cả /etc/orbsetup/trusted-keys/*.pub) chỉ cài bộ cài\n"
     "              được ký bằng khóa đó (orbp8.pkd.minisig bên cạnh)\n"
     "  -LMÃ        ngôn ngữ giao diện: ru uk en lv lt bg de ro ka kk vi tr\n"
     "  --help, -h, /?  in văn bản này rồi thoát\n"
     "  --version       in phiên bản chương trình rồi thoát\n"
     "Lần chạy không cần người dùng kết thúc bằng một dòng tóm tắt trên luồng lỗi.\n"
     "\n"
     "Mã thoát:\n"
     "  0  đã cài đặt, kể cả khi mọi tệp đều đã mới nhất (bản tóm tắt và nhật ký\n"
     "     cho biết trường hợp nào); chạy thử: bộ cài đặt không lỗi và có thể cài\n"
     "  1  chưa cài đặt: thiếu hoặc hỏng bộ cài đặt, thư mục mẫu không dùng được,\n"
     "     không đủ dung lượng, lỗi khi cài đặt (đã hoàn tác), một lần cài đặt\n"
     "     khác vào cùng thư mục, không có màn hình khi không có -S; chạy thử:\n"
     "     việc cài đặt sẽ thất bại\n"
     "  2  bị hủy bởi người dùng hoặc một tín hiệu; thư mục mẫu vẫn như cũ\n"
     "\n"
     "Nhật ký (-G) có một dòng cho mỗi sự kiện: THỜI_GIAN SỰ_KIỆN VĂN_BẢN, THỜI_GIAN\n"
     "là giờ địa phương theo ISO 8601, dấu xuống dòng trong đường dẫn ghi là \\n:\n"
     "  start     version=V kit=ĐƯỜNG_DẪN size=BYTE products=\"...\" language=MÃ\n"
     "            target=ĐƯỜNG_DẪN mode=install|dry-run|wizard\n"
     "  recovered, recovery-failed   target=ĐƯỜNG_DẪN [kept=BẢN_LƯU]: một lần cài\n"
     "            đặt bị gián đoạn đã được hoàn tác khi khởi động, hoặc các phiên\n"
     "            bản đã lưu của nó được giữ lại\n"
     "  created, replaced, kept   ĐƯỜNG_DẪN trong thư mục mẫu (kept: tệp đã cài\n"
     "            không cũ hơn); chạy thử ghi would-create, would-replace\n"
     "  error     ĐƯỜNG_DẪN: lý do code=N\n"
     "  rollback  code=N, sau đó restored ĐƯỜNG_DẪN và removed ĐƯỜNG_DẪN cho mỗi tệp\n"
     "  end       exit=N created=C replaced=R unchanged=U bytes=B"},
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
