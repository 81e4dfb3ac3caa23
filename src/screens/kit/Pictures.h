#pragma once
// The program's own pictures, drawn when first needed: button pictures, the
// emblem of the splash and About windows.
#include <QIcon>
#include <QPixmap>

namespace kv {

enum class RatePicture { Rate13, Rate9, Rate35, Rate30, Rate15, Dividends, HighlyQualified };
enum class DeductionPicture { Property, Social, Standard, Securities };
// The looks of the section buttons.
enum class SectionPicture { Gear, Person, Rouble, Globe, Briefcase, PercentDown, Sheet, Chart };
enum class ToolPicture { Create, Open, Save, View, Print, Export, Check, Result };

QIcon ratePicture(RatePicture picture);
QIcon deductionPicture(DeductionPicture picture);
QIcon sectionPicture(SectionPicture picture);
QIcon toolPicture(ToolPicture picture);

// The program's emblem, a square of the given side.
QPixmap emblemPicture(int side);
// The splash window's picture, 460 x 104.
QPixmap splashPicture();

} // namespace kv
