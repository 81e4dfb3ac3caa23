#pragma once
// The series-and-number field of an identity document. Its pattern follows the
// kind of document: a Roman numeral with letters and digits for a birth
// certificate, two-digit groups for a passport, letters and digits for a military
// card, or free text. A keystroke that would break the pattern is dropped, and the
// blank between two groups is typed by the field itself.
#include <QLineEdit>
#include <QString>
#include <optional>

namespace kv {

enum class DocMask {
    RomanAndLetters,   // Roman numeral, "-", two letters, blank, up to 6 digits
    DigitPairAndSeven, // 2 digits, blank, up to 7 digits
    DigitPairsAndSix,  // 2 digits, blank, 2 digits, blank, up to 6 digits
    LettersAndSix,     // 2 letters, blank, up to 6 digits
    LettersAndSeven,   // 2 letters, blank, up to 7 digits
    Text25,            // any text of at most 25 characters
    Text14,            // any text of at most 14 characters
};

// The kind a document code sets when the screen loads, and when the user picks a
// kind; nullopt leaves the field's kind as it is.
std::optional<DocMask> docMaskOnLoading(int documentCode);
std::optional<DocMask> docMaskOnPicking(int documentCode);

// The text brought into the pattern: letters upper-cased, Roman digits written as
// Latin letters, blanks only between groups. nullopt when it cannot fit, even as
// the beginning of a number.
std::optional<QString> docNumberInPattern(DocMask mask, const QString& text);

class DocNumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DocNumberEdit(QWidget* parent = nullptr);

    DocMask mask() const { return mask_; }
    void setMask(DocMask mask);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    DocMask mask_ = DocMask::Text25;
};

} // namespace kv
