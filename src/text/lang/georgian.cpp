// Georgian resource texts.
#include <iterator>

#include "text/lang/resource_text.h"

namespace text {
namespace {

constexpr const char* kInstallerTitle = "კონფიგურაციის ინსტალაცია";
constexpr const char* kCancel = "გაუქმება";

constexpr ResourceText kTexts[] = {
    {"IDS_WIZARD_BACK", "< უკან"},
    {"IDS_WIZARD_NEXT", "შემდეგი >"},
    {"IDS_WIZARD_FINISH", "მზადაა"},
    {"IDS_WIZARD_CANCEL", kCancel},
    {"IDS_ACCEPT_CANCEL", "ნამდვილად გსურთ ინსტალაციის გაუქმება?"},
    {"IDS_TITLE_INSTALLER", kInstallerTitle},
    {"IDS_PREPARECOPY", "კოპირებისთვის მომზადება..."},
    {"IDS_INSTALL_ERROR", "ინსტალაციის შეცდომა"},
    {"IDS_ERROR_NOSOURCE", "დისტრიბუტივის ფაილი orbp8.pkd ვერ მოიძებნა."},
    {"IDS_ERROR_NOTARGET", "შაბლონების ინსტალაცია მიმდინარე დირექტორიაში არ არის მხარდაჭერილი."},
    {"IDS_ERROR_NOSPACE", "დირექტორიაში Temp არ არის საკმარისი თავისუფალი ადგილი."},
    {"IDS_CHOOSEDIR_FOLDER", "&საქაღალდე:"},
    {"IDS_CHOOSEDIR_TITLE", "დირექტორიის არჩევა"},
    {"IDR_MAINFRAME", kInstallerTitle},
    {"IDS_SETUP_EMPTYTARGET", "მიუთითეთ შაბლონების დირექტორიის სწორი გზა."},
    {"IDS_INSTALL_FINISH", "კოპირება დასრულდა..."},
    {"IDS_ERROR_DAMAGEDSOURCE",
     "დისტრიბუტივის ფაილი orbp8.pkd დაზიანებულია ან არ არის განკუთვნილი ამ საინსტალაციო "
     "პროგრამისთვის."},
    {"IDS_DEFPRODUCT", "<პროდუქტი>"},
    {"IDS_DEFPROVIDER", "<მომწოდებელი>"},
    {"IDS_SUCCESS_FINISH", "კონფიგურაცია წარმატებით დაინსტალირდა."},
    {"IDS_SUCCESS_OPENDESCR", "დისტრიბუტივის აღწერის გახსნა"},
    {"IDS_PROGRESS_START", "მიმდინარეობს ფაილების კოპირება..."},
    {"IDS_ERROR_FINISH",
     "ინსტალაციის პროცესში მოხდა შეცდომა. ინსტალაცია გაუქმდა. შაბლონების დირექტორია არ შეცვლილა."},
    {"IDS_CANCEL_FINISH", "ინსტალაცია გაუქმდა. შაბლონების დირექტორია არ შეცვლილა."},
    {"IDS_RECOVERED",
     "შეწყვეტილი ინსტალაცია გაუქმდა, შაბლონების დირექტორია დაბრუნდა ინსტალაციამდე არსებულ "
     "მდგომარეობაში:"},
    {"IDS_RECOVERY_FAILED",
     "შეწყვეტილი ინსტალაციის სრულად გაუქმება ვერ მოხერხდა. თქვენი ფაილების შენახული ვერსიები "
     "ინახება დირექტორიაში:"},
    {"IDS_ROLLBACK_INCOMPLETE",
     "ინსტალაცია გაუქმდა. შაბლონების დირექტორიის ყველა ფაილის აღდგენა ვერ მოხერხდა; თქვენი "
     "ფაილების შენახული ვერსიები ინახება დირექტორიაში:"},
    {"IDS_TARGET_BUSY",
     "ამ შაბლონების დირექტორიაში უკვე მიმდინარეობს სხვა ინსტალაცია. სცადეთ ხელახლა მისი "
     "დასრულების შემდეგ:"},
    {"IDS_ERROR_RECORDDIR",
     "შაბლონები დაინსტალირდა, მაგრამ შაბლონების დირექტორიის ჩაწერა გამშვები პროგრამის "
     "კონფიგურაციის ფაილში ვერ მოხერხდა:"},
    {"IDS_ERROR_NOTDIRECTORY",
     "იქ, სადაც დისტრიბუტივს დირექტორია სჭირდება, არის სიმბოლური ბმული ან ფაილი:"},
    {"IDS_ERROR_KITOPEN", "დისტრიბუტივის ფაილის orbp8.pkd წაკითხვა ან გაშლა ვერ მოხერხდა:"},
    {"IDS_ROLLBACK_PROGRESS", "მიმდინარეობს წინა ვერსიის აღდგენა..."},
    {"IDS_NODISPLAY",
     "დისპლეი მიუწვდომელია. ფანჯრების გარეშე ინსტალაციისთვის გაუშვით პროგრამა -S პარამეტრით."},
    {"IDS_REASON_DISKFULL", "დისკზე არ არის საკმარისი ადგილი."},
    {"IDS_REASON_ACCESS", "წვდომა აკრძალულია."},
    {"IDS_REASON_READONLY", "ფაილური სისტემა მხოლოდ წაკითხვადია."},
    {"IDS_REASON_INTHEWAY", "ხელს უშლის იმავე სახელის მქონე ფაილი ან დირექტორია."},
    {"IDS_REASON_LINK", "დირექტორიის ან ფაილის ადგილას სიმბოლური ბმულია."},
    {"IDS_REASON_NOTFOUND", "ფაილი ან დირექტორია არ არსებობს."},
    {"IDS_REASON_DAMAGED", "დისტრიბუტივის მონაცემები დაზიანებულია."},
    {"IDS_REASON_RESTORE", "წინა ვერსიის აღდგენა ვერ მოხერხდა."},
    {"IDS_REASON_IO", "დისკის წაკითხვა ან ჩაწერა ვერ მოხერხდა (შეტანა-გამოტანის შეცდომა)."},
    {"IDS_REASON_OTHER", "სისტემური შეცდომა"},
    {"IDS_BOX_YES", "დიახ"},
    {"IDS_BOX_NO", "არა"},
    {"IDS_BOX_OK", "კარგი"},
    {"IDS_SUMMARY",
     "შეჯამება: შეიქმნა {created}, ჩანაცვლდა {replaced}, უცვლელია {unchanged}, ჩაიწერა ბაიტი: "
     "{bytes}."},
    {"IDS_SUMMARY_DRYRUN",
     "საცდელი გაშვება, არაფერი შეცვლილა: შესაქმნელია {created}, ჩასანაცვლებელია {replaced}, "
     "უცვლელია {unchanged}, ჩასაწერია ბაიტი: {bytes}."},
    {"IDS_BROWSE_SELDIR", "არჩეული დირექტორია:"},
    {"IDS_BROWSE_OK", "არჩევა"},
    {"IDS_BROWSE_CANCEL", kCancel},
    {"IDS_WELCOME_TITLE", "მოგესალმებათ პროდუქტის საინსტალაციო პროგრამა"},
    {"IDS_SETUP_EXISTEDTARGET",
     "ინსტალაციის დირექტორია შეიცავს ფაილებს, რომლებიც შეიძლება შეიცვალოს ინსტალაციის პროცესში. "
     "გსურთ გაგრძელება?"},
    {"IDS_DESTINATION_PROMPT",
     "მიუთითეთ შაბლონების დირექტორიის გზა. საინსტალაციო პროგრამა დააინსტალირებს შაბლონებს და "
     "კონფიგურაციის ფაილებს მითითებულ დირექტორიაში."},
    {"IDS_TEMPLATE_CATALOG", "შაბლონების დირექტორია:"},
};

}  // namespace

const LanguageSource kGeorgianSource = {"ka", kTexts, std::size(kTexts)};

}  // namespace text
