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
    {"IDS_CHOOSEDIR_TITLE", "Dizin seçin"},
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
    {"IDS_REASON_NOTREGULAR",
     "normal bir dosya değil (bir kanal, aygıt, bağlantı veya dizin)."},
    {"IDS_REASON_UNTRUSTED",
     "başka bir kullanıcıya ait veya başkaları ona yazabilir."},
    {"IDS_REASON_TOOLARGE",
     "olması gerekenden çok büyük."},
    {"IDS_REASON_NOTRECORD",
     "bu kurulum programının yazdığı bir kayıt değil."},
    {"IDS_RECOVERY_PASSED_OVER",
     "Tamamlanmamış bir kuruluma ait kayıt güvenilir değil ve olduğu gibi bırakıldı:"},
    {"IDS_RECOVERY_LEFT_ALONE",
     "Yarıda kalan kurulum geri alınırken bu dosya korundu, çünkü artık kuruluma ait değil:"},
    {"IDS_FOREIGN_BACKUP_ROOT",
     "Bu kuruluma ait olmayan bir yedek klasörü şablon dizinini engelliyor:"},
    {"IDS_DRYRUN_PENDING",
     "Yarıda kalmış bir kurulum var: gerçek bir çalıştırma önce onu şu dizinde geri alacak:"},
    {"IDS_CLEANUP_WARNING",
     "Uyarı: şablonlar kuruldu, ancak şu temizlenemedi:"},
    {"IDS_KIT_LOOKED_IN", "Şu dizinde arandı:"},
    {"IDS_KIT_USECWD",
     "Dağıtım paketi dosyasını programın yanına koyun veya bulunduğu dizinde “setup usecwd” "
     "komutunu çalıştırın."},
    {"IDS_BAD_TARGET", "-D ile belirtilen şablon dizini kullanılamıyor:"},
    {"IDS_UNKNOWN_OPTION", "bilinmeyen seçenek yok sayıldı:"},
    {"IDS_LOG_UNWRITABLE", "günlük yazılamıyor"},
    {"IDS_DRYRUN_FAILED",
     "Deneme çalıştırması: kurulum başarısız olurdu. Hiçbir şey kurulmadı veya değiştirilmedi."},
    {"IDS_USAGE",
     "setup {version} - orbp8.pkd dağıtım paketindeki yapılandırma şablonlarını kurar\n"
     "\n"
     "Kullanım: setup [usecwd [DİZİN]] [SEÇENEK]...\n"
     "Dağıtım paketi programın yanında bulunur; usecwd ile geçerli dizinde veya,\n"
     "DİZİN tek diğer bağımsız değişkense, onun altındaki DİZİN içinde aranır.\n"
     "\n"
     "Seçenekler - veya / ile başlar, harfleri büyük ya da küçük olabilir. -L\n"
     "seçeneğinden sonraki seçenekler okunmaz; diğer her seçenek hata akışına bir\n"
     "uyarı yazılarak yok sayılır.\n"
     "  -S          gözetimsiz: sormadan kurar; ekran yoksa iletiler ve ilerleme\n"
     "              standart hata akışına yazılır\n"
     "  -N          deneme çalıştırması: paketi okur ve neyin oluşturulacağını,\n"
     "              değiştirileceğini veya korunacağını söyler, diskte hiçbir şeyi\n"
     "              değiştirmez; gözetimsiz, hiç pencere açmaz\n"
     "  -DYOL       şablon dizini: gözetimsiz çalıştırmanın kurduğu ve sihirbazın\n"
     "              önerdiği dizin; kurulumdan sonra başlatıcı için kaydedilir\n"
     "              (\"~\" ev dizinidir, göreli YOL geçerli dizinden alınır)\n"
     "  -GYOL       kurulum günlüğünü YOL dosyasına ekle (kip 0600)\n"
     "  -KYOL       YOL dosyasındaki minisign açık anahtarına da güven (yinelenebilir);\n"
     "              güvenilen bir anahtar varsa (/etc/orbsetup/trusted-keys/*.pub de) yalnızca\n"
     "              onunla imzalanmış paket kurulur (yanındaki orbp8.pkd.minisig)\n"
     "  -LKOD       arayüz dili: ru uk en lv lt bg de ro ka kk vi tr\n"
     "  --help, -h, /?  bu metni yazdır ve çık\n"
     "  --version       programın sürümünü yazdır ve çık\n"
     "Gözetimsiz bir çalıştırma hata akışında bir özet satırıyla biter.\n"
     "\n"
     "Çıkış kodları:\n"
     "  0  kuruldu, tüm dosyalar zaten güncel olduğunda da (hangisi olduğunu özet\n"
     "     ve günlük gösterir); deneme çalıştırması: paket sağlam ve kurulabilir\n"
     "  1  kurulmadı: paket eksik veya bozuk, şablon dizini kullanılamaz, yer\n"
     "     yetersiz, kurulum sırasında hata (geri alındı), aynı dizine başka bir\n"
     "     kurulum, -S olmadan ekran yok; deneme çalıştırması: kurulum başarısız\n"
     "     olurdu\n"
     "  2  kullanıcı veya bir sinyal tarafından iptal edildi; şablon dizini\n"
     "     olduğu gibi kaldı\n"
     "\n"
     "Günlük (-G) her olay için bir satır içerir: ZAMAN OLAY METİN, ZAMAN ISO 8601\n"
     "biçiminde yerel saattir, bir yoldaki satır sonu \\n olarak yazılır:\n"
     "  start     version=V kit=YOL size=BAYT products=\"...\" language=KOD\n"
     "            target=YOL mode=install|dry-run|wizard\n"
     "  recovered, recovery-failed   target=YOL [kept=YEDEK]: başlangıçta geri\n"
     "            alınan yarıda kalmış bir kurulum veya korunan kayıtlı sürümleri\n"
     "  created, replaced, kept   şablon dizinindeki YOL (kept: kurulu dosya daha\n"
     "            eski değil); deneme çalıştırması would-create, would-replace yazar\n"
     "  error     YOL: neden code=N\n"
     "  rollback  code=N, ardından her dosya için restored YOL ve removed YOL\n"
     "  end       exit=N created=C replaced=R unchanged=U bytes=B"},
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
