#include "platform/system/LangId.h"

#include <QHash>

namespace sysplat {

namespace {

constexpr uint16_t kEnglishUS = 1033;
constexpr uint16_t kCustomUnspecified = 0x1000;

// language_TERRITORY -> id. Ids are (sub-language << 10) | primary language.
const QHash<QString, uint16_t> &Territories()
{
    static const QHash<QString, uint16_t> table{
        {"ar_SA", 0x0401}, {"ar_IQ", 0x0801}, {"ar_EG", 0x0C01}, {"ar_LY", 0x1001},
        {"ar_DZ", 0x1401}, {"ar_MA", 0x1801}, {"ar_TN", 0x1C01}, {"ar_OM", 0x2001},
        {"ar_YE", 0x2401}, {"ar_SY", 0x2801}, {"ar_JO", 0x2C01}, {"ar_LB", 0x3001},
        {"ar_KW", 0x3401}, {"ar_AE", 0x3801}, {"ar_BH", 0x3C01}, {"ar_QA", 0x4001},
        {"bg_BG", 0x0402}, {"ca_ES", 0x0403}, {"zh_TW", 0x0404}, {"zh_CN", 0x0804},
        {"zh_HK", 0x0C04}, {"zh_SG", 0x1004}, {"zh_MO", 0x1404}, {"cs_CZ", 0x0405},
        {"da_DK", 0x0406}, {"de_DE", 0x0407}, {"de_CH", 0x0807}, {"de_AT", 0x0C07},
        {"de_LU", 0x1007}, {"de_LI", 0x1407}, {"el_GR", 0x0408}, {"en_US", 0x0409},
        {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
        {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_JM", 0x2009}, {"en_BZ", 0x2809},
        {"en_TT", 0x2C09}, {"en_ZW", 0x3009}, {"en_PH", 0x3409}, {"en_IN", 0x4009},
        {"en_MY", 0x4409}, {"en_SG", 0x4809}, {"es_ES", 0x0C0A}, {"es_MX", 0x080A},
        {"es_GT", 0x100A}, {"es_CR", 0x140A}, {"es_PA", 0x180A}, {"es_DO", 0x1C0A},
        {"es_VE", 0x200A}, {"es_CO", 0x240A}, {"es_PE", 0x280A}, {"es_AR", 0x2C0A},
        {"es_EC", 0x300A}, {"es_CL", 0x340A}, {"es_UY", 0x380A}, {"es_PY", 0x3C0A},
        {"es_BO", 0x400A}, {"es_SV", 0x440A}, {"es_HN", 0x480A}, {"es_NI", 0x4C0A},
        {"es_PR", 0x500A}, {"es_US", 0x540A}, {"fi_FI", 0x040B}, {"fr_FR", 0x040C},
        {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C},
        {"fr_MC", 0x180C}, {"he_IL", 0x040D}, {"hu_HU", 0x040E}, {"is_IS", 0x040F},
        {"it_IT", 0x0410}, {"it_CH", 0x0810}, {"ja_JP", 0x0411}, {"ko_KR", 0x0412},
        {"nl_NL", 0x0413}, {"nl_BE", 0x0813}, {"nb_NO", 0x0414}, {"nn_NO", 0x0814},
        {"pl_PL", 0x0415}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"rm_CH", 0x0417},
        {"ro_RO", 0x0418}, {"ru_RU", 0x0419}, {"hr_HR", 0x041A}, {"sr_RS", 0x241A},
        {"bs_BA", 0x141A}, {"sk_SK", 0x041B}, {"sq_AL", 0x041C}, {"sv_SE", 0x041D},
        {"sv_FI", 0x081D}, {"th_TH", 0x041E}, {"tr_TR", 0x041F}, {"ur_PK", 0x0420},
        {"id_ID", 0x0421}, {"uk_UA", 0x0422}, {"be_BY", 0x0423}, {"sl_SI", 0x0424},
        {"et_EE", 0x0425}, {"lv_LV", 0x0426}, {"lt_LT", 0x0427}, {"fa_IR", 0x0429},
        {"vi_VN", 0x042A}, {"hy_AM", 0x042B}, {"eu_ES", 0x042D}, {"mk_MK", 0x042F},
        {"af_ZA", 0x0436}, {"ka_GE", 0x0437}, {"fo_FO", 0x0438}, {"hi_IN", 0x0439},
        {"mt_MT", 0x043A}, {"ga_IE", 0x083C}, {"ms_MY", 0x043E}, {"kk_KZ", 0x043F},
        {"sw_KE", 0x0441}, {"bn_IN", 0x0445}, {"ta_IN", 0x0449}, {"cy_GB", 0x0452},
        {"gl_ES", 0x0456},
    };
    return table;
}

// language -> id of its main territory.
const QHash<QString, uint16_t> &Languages()
{
    static const QHash<QString, uint16_t> table{
        {"ar", 0x0401}, {"bg", 0x0402}, {"ca", 0x0403}, {"zh", 0x0804}, {"cs", 0x0405},
        {"da", 0x0406}, {"de", 0x0407}, {"el", 0x0408}, {"en", 0x0409}, {"es", 0x0C0A},
        {"fi", 0x040B}, {"fr", 0x040C}, {"he", 0x040D}, {"hu", 0x040E}, {"is", 0x040F},
        {"it", 0x0410}, {"ja", 0x0411}, {"ko", 0x0412}, {"nl", 0x0413}, {"nb", 0x0414},
        {"no", 0x0414}, {"nn", 0x0814}, {"pl", 0x0415}, {"pt", 0x0816}, {"rm", 0x0417},
        {"ro", 0x0418}, {"ru", 0x0419}, {"hr", 0x041A}, {"sr", 0x241A}, {"bs", 0x141A},
        {"sk", 0x041B}, {"sq", 0x041C}, {"sv", 0x041D}, {"th", 0x041E}, {"tr", 0x041F},
        {"ur", 0x0420}, {"id", 0x0421}, {"uk", 0x0422}, {"be", 0x0423}, {"sl", 0x0424},
        {"et", 0x0425}, {"lv", 0x0426}, {"lt", 0x0427}, {"fa", 0x0429}, {"vi", 0x042A},
        {"hy", 0x042B}, {"eu", 0x042D}, {"mk", 0x042F}, {"af", 0x0436}, {"ka", 0x0437},
        {"fo", 0x0438}, {"hi", 0x0439}, {"mt", 0x043A}, {"ga", 0x083C}, {"ms", 0x043E},
        {"kk", 0x043F}, {"sw", 0x0441}, {"bn", 0x0445}, {"ta", 0x0449}, {"cy", 0x0452},
        {"gl", 0x0456},
    };
    return table;
}

} // namespace

uint16_t LangIdOfLocale(const QString &localeName)
{
    // language[_territory][.codeset][@modifier]
    const QString name = localeName.trimmed().section(QLatin1Char('@'), 0, 0).section(QLatin1Char('.'), 0, 0);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return kEnglishUS;

    const qsizetype sep = name.indexOf(QLatin1Char('_'));
    const QString language = (sep < 0 ? name : name.left(sep)).toLower();
    if (sep < 0)
        return Languages().value(language, kCustomUnspecified);
    const QString key = language + QLatin1Char('_') + name.mid(sep + 1).toUpper();
    return Territories().value(key, kCustomUnspecified);
}

uint16_t UserDefaultLangID()
{
    for (const char *var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(var);
        if (!value.isEmpty())
            return LangIdOfLocale(value);
    }
    return kEnglishUS;
}

} // namespace sysplat
