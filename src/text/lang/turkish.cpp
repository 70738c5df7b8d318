// Turkish resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "Yapılandırma kuruluyor";
constexpr const char* kCancel = "İptal";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Geri"},
    {"IDS_WIZARD_NEXT", "İleri >"},
    {"IDS_WIZARD_FINISH", "Tamam"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "Kurulumu gerçekten iptal etmek istiyor musunuz?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "Kopyalama için hazırlanıyor..."},
    {"IDS_INSTALL_ERROR", "Kurulum hatası"},
    {"IDS_ERROR_NOSOURCE", "Dağıtım paketi dosyası orbp8.pkd bulunamadı."},
    {"IDS_ERROR_NOTARGET", "Şablonların geçerli dizine kurulması desteklenmiyor."},
    {"IDS_ERROR_NOSPACE", "Temp dizininde yeterli boş alan yok."},
    {"IDS_CHOOSEDIR_FOLDER", "&Klasör:"},
    {"IDS_CHOOSEDIR_TITLE", "Dizin Seçin"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "Şablon dizininin doğru yolunu belirtin."},
    {"IDS_INSTALL_FINISH", "Kopyalama tamamlandı..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "Dağıtım paketi dosyası orbp8.pkd bozuk veya bu kurulum programı için tasarlanmamış."},
    {"IDS_DEFPRODUCT", "<Ürün>"},
    {"IDS_DEFPROVIDER", "<Satıcı>"},
    {"IDS_SUCCESS_FINISH", "Yapılandırma başarıyla kuruldu."},
    {"IDS_SUCCESS_OPENDESCR", "Dağıtım paketinin açıklamasını aç"},
    {"IDS_PROGRESS_START", "Dosyalar kopyalanıyor..."},
    {"IDS_ERROR_FINISH",
     "Kurulum işlemi sırasında bir hata oluştu. Kurulum iptal edildi. Şablon dizini "
     "değiştirilmedi."},
    {"IDS_CANCEL_FINISH", "Kurulum iptal edildi. Şablon dizini değiştirilmedi."},
    {"IDS_RECOVERED",
     "Yarıda kalan bir kurulum geri alındı, şablon dizini kurulumdan önceki haline döndürüldü:"},
    {"IDS_RECOVERY_FAILED",
     "Yarıda kalan bir kurulum tamamen geri alınamadı. Dosyalarınızın kaydedilen sürümleri şu "
     "dizinde tutuluyor:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "Kurulum iptal edildi. Şablon dizinindeki dosyaların tümü geri yüklenemedi; dosyalarınızın "
     "kaydedilen sürümleri şu dizinde tutuluyor:"},
    {"IDS_TARGET_BUSY",
     "Bu şablon dizinine başka bir kurulum yapılıyor. Kurulum tamamlandığında yeniden deneyin:"},
    {"IDS_ERROR_RECORDDIR",
     "Şablonlar kuruldu, ancak şablon dizini başlatıcının yapılandırma dosyasına kaydedilemedi:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "Dağıtım paketinin bir dizine ihtiyaç duyduğu yerde sembolik bağlantı veya dosya var:"},
    {"IDS_ERROR_KITOPEN", "Dağıtım paketi dosyası orbp8.pkd okunamadı veya ayıklanamadı:"},
    {"IDS_ROLLBACK_PROGRESS", "Önceki sürüm geri yükleniyor..."},
    {"IDS_NODISPLAY",
     "Kullanılabilir ekran yok. Pencereler olmadan kurmak için programı -S ile çalıştırın."},
    {"IDS_REASON_DISKFULL", "diskte yeterli alan yok."},
    {"IDS_REASON_ACCESS", "erişim reddedildi."},
    {"IDS_REASON_READONLY", "dosya sistemi salt okunur."},
    {"IDS_REASON_INTHEWAY", "aynı adda bir dosya veya dizin engel oluyor."},
    {"IDS_REASON_LINK", "dizin veya dosya olması gereken yerde sembolik bağlantı var."},
    {"IDS_REASON_NOTFOUND", "dosya veya dizin yok."},
    {"IDS_REASON_DAMAGED", "dağıtım paketinin verileri bozuk."},
    {"IDS_REASON_RESTORE", "önceki sürüm geri yüklenemedi."},
    {"IDS_REASON_IO", "diskten okunamadı veya diske yazılamadı (giriş/çıkış hatası)."},
    {"IDS_REASON_OTHER", "sistem hatası"},
    {"IDS_BOX_YES", "Evet"},
    {"IDS_BOX_NO", "Hayır"},
    {"IDS_BOX_OK", "Tamam"},
    {"IDS_SUMMARY",
     "Özet: {created} oluşturuldu, {replaced} değiştirildi, {unchanged} değişmedi, {bytes} bayt "
     "yazıldı."},
    {"IDS_SUMMARY_DRYRUN",
     "Deneme çalıştırması, hiçbir şey değiştirilmedi: {created} oluşturulacak, {replaced} "
     "değiştirilecek, {unchanged} değişmeyecek, {bytes} bayt yazılacak."},
    {"IDS_BROWSE_SELDIR", "Seçilen dizin:"},
    {"IDS_BROWSE_OK", "Seç"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "Ürün kurulum programına hoş geldiniz:"},
    {"IDS_SETUP_EXISTEDTARGET",
     "Kurulum dizini, kurulum işlemi sırasında değiştirilebilecek dosyalar içeriyor. Devam etmek "
     "istiyor musunuz?"},
    {"IDS_DESTINATION_PROMPT",
     "Şablon dizininin yolunu belirtin. Kurulum programı şablonları ve yapılandırma dosyalarını "
     "belirtilen dizine kuracak."},
    {"IDS_TEMPLATE_CATALOG", "Şablon dizini:"},
    {"IDS_ERROR_SIGNATURE",
     "Dağıtım paketi dosyası orbp8.pkd'nin imzası doğrulanamadı. Hiçbir şey yüklenmedi:"},
    {"IDS_SIGREASON_MISSING",
     "dağıtım paketi imzalı değil (yanında .minisig dosyası yok), ancak güvenilir bir anahtar "
     "yapılandırılmış."},
    {"IDS_SIGREASON_NOTREGULAR", "normal bir dosya değil (sembolik bağlantı, dizin veya kanal)."},
    {"IDS_SIGREASON_TOOLARGE", "bir imza veya anahtar dosyası için çok büyük."},
    {"IDS_SIGREASON_MALFORMED", "bir minisign imzası veya açık anahtarı değil ya da bozuk."},
    {"IDS_SIGREASON_ALGORITHM",
     "imza algoritması bilinmiyor veya bu dağıtım paketi için kullanılamıyor."},
    {"IDS_SIGREASON_UNSAFE",
     "sahibi root veya siz değil ya da başkaları yazabiliyor; güvenilmiyor."},
    {"IDS_SIGREASON_OTHERKEY", "güvenilmeyen bir anahtarla imzalanmış."},
    {"IDS_SIGREASON_MISMATCH",
     "imza dağıtım paketiyle eşleşmiyor (imzalandıktan sonra değiştirilmiş veya başka bir "
     "dosyanın imzası)."},
    {"IDS_SIGREASON_COMMENT", "imzanın güvenilir yorumu değiştirilmiş."},
    {"IDS_REASON_KITCHANGED", "dağıtım paketi, imzası doğrulandıktan sonra diskte değişti."},
    {"IDS_SIGNATURE_VERIFIED", "İmza şu anahtarla doğrulandı:"},
};

}  // namespace

const LanguageSource kTurkishSource = {"tr", kTexts, std::size(kTexts)};

}  // namespace text
