#include "screens/DeductionsScreen.h"

#include "screens/kit/Pictures.h"

#include <QToolButton>

namespace kv {

DeductionsScreen::DeductionsScreen(QWidget* panel, ScreenHost& host)
    : ScreenContainer(panel, host, QStringLiteral("PnlDeductData")) {
    QToolButton* property =
        addInnerButton(QStringLiteral("fbConstructionDeduct"), QStringLiteral("Имущественный"),
                       QStringLiteral("Имущественный налоговый вычет на строительство"),
                       deductionPicture(DeductionPicture::Property));
    QToolButton* social = addInnerButton(QStringLiteral("fbPensDeduct"), QStringLiteral("Социальные"),
                                         QStringLiteral("Социальные налоговые вычеты"),
                                         deductionPicture(DeductionPicture::Social));
    QToolButton* standard = addInnerButton(QStringLiteral("fbStandartDeduct"), QStringLiteral("Стандартные"),
                                           QStringLiteral("Стандартные налоговые вычеты"),
                                           deductionPicture(DeductionPicture::Standard));
    QToolButton* securities = addInnerButton(
        QStringLiteral("fbCB"), QStringLiteral("Инвестиционные и убытки по ЦБ"),
        QStringLiteral("Убытки прошлых налоговых периодов по операциям с ЦБ и инвестиционные вычеты"),
        deductionPicture(DeductionPicture::Securities));
    setTarget(property, ScreenId::PropertyDeduction);
    setTarget(social, ScreenId::SocialDeduction);
    setTarget(standard, ScreenId::StandardDeduction);
    setTarget(securities, ScreenId::Securities);
    showFirst(property);
}

} // namespace kv
