#include "screens/RussianIncomeScreen.h"

#include "model/Declaration.h"
#include "screens/kit/Pictures.h"

#include <QToolButton>

namespace kv {

RussianIncomeScreen::RussianIncomeScreen(QWidget* panel, ScreenHost& host)
    : ScreenContainer(panel, host, QStringLiteral("PnlRussianIncome")) {
    const bool nonResident = document().kind() == ReturnKind::NonResident;

    QToolButton* b1 = addInnerButton(QStringLiteral("FlashButton1"), QString(), QString(),
                                     ratePicture(nonResident ? RatePicture::Rate30 : RatePicture::Rate13));
    QToolButton* b2 = addInnerButton(QStringLiteral("FlashButton2"), QString(), QString(),
                                     ratePicture(nonResident ? RatePicture::Rate15 : RatePicture::Rate9));
    QToolButton* b3 =
        addInnerButton(QStringLiteral("FlashButton3"), QString(),
                       QStringLiteral("Доходы, облагаемые по ставке 35%"), ratePicture(RatePicture::Rate35));
    QToolButton* b6 =
        addInnerButton(QStringLiteral("FlashButton6"), QString(),
                       QStringLiteral("Доходы нерезидентов, высококвалифицированных специалистов"),
                       ratePicture(RatePicture::HighlyQualified));
    QToolButton* b7 = addInnerButton(QStringLiteral("FlashButton7"), QString(), QStringLiteral("Дивиденды"),
                                     ratePicture(RatePicture::Dividends));
    // These two only lend their pictures to the non-resident's buttons.
    QToolButton* b4 =
        addInnerButton(QStringLiteral("FlashButton4"), QString(),
                       QStringLiteral("Доходы, облагаемые по ставке 30%"), ratePicture(RatePicture::Rate30));
    QToolButton* b5 =
        addInnerButton(QStringLiteral("FlashButton5"), QString(),
                       QStringLiteral("Доходы, облагаемые по ставке 15%"), ratePicture(RatePicture::Rate15));
    b4->hide();
    b5->hide();

    setTarget(b1, ScreenId::ThirteenPercent);
    if (nonResident) {
        b1->setToolTip(QStringLiteral("Доходы нерезидента"));
        b2->setToolTip(QStringLiteral("Дивиденды нерезидента"));
        setTarget(b2, ScreenId::Dividends);
        setTarget(b6, ScreenId::ThirteenPercentNonResident);
        b3->hide();
        b7->hide();
    } else {
        b1->setToolTip(
            QStringLiteral("Доходы, облагаемые по ставке 13% (КРОМЕ ДИВИДЕНДОВ), полученные от "
                           "налоговых агентов или иных источников выплаты, в т.ч. от физических лиц"));
        b2->setToolTip(QStringLiteral("Доходы, облагаемые по ставке 9% (НЕ дивиденды)"));
        setTarget(b2, ScreenId::NinePercent);
        setTarget(b3, ScreenId::ThirtyFivePercent);
        setTarget(b7, ScreenId::Dividends);
        b6->hide();
    }
    showFirst(b1);
}

} // namespace kv
