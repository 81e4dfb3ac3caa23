#pragma once
// The date field of every screen and dialog: "dd.mm.yyyy" typed section by section,
// with a calendar beside it. Whatever is typed stays as typed: an impossible date
// (31.02.2019) or one outside the field's range is said in words beside the field
// and left for the person to correct; nothing is ever put in its place.
#include <QDate>
#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kv {

class DateEdit : public QWidget {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);
    ~DateEdit() override;

    // The date the field shows when it is a real calendar date, inside the range or
    // not; while it shows anything else, the last such date (invalid if none).
    QDate date() const { return date_; }
    // Shows the date as it is, also outside the range; an invalid date empties the field.
    void setDate(const QDate& date);

    QDate minimumDate() const { return minimum_; }
    QDate maximumDate() const { return maximum_; }
    void setDateRange(const QDate& minimum, const QDate& maximum);
    void setMinimumDate(const QDate& minimum) { setDateRange(minimum, maximum_); }
    void setMaximumDate(const QDate& maximum) { setDateRange(minimum_, maximum); }

    // What is wrong with what the field shows, in words; empty when it is a date in range.
    QString problem() const;
    // Whether the field shows a real calendar date, inside the range or not.
    bool showsDate() const;
    // Whether nothing at all is typed in the field.
    bool isBlank() const;
    QLineEdit* lineEdit() const { return edit_; }

signals:
    void dateChanged(const QDate& date);

protected:
    void changeEvent(QEvent* event) override;

private:
    friend class DateText;
    void textEdited();
    void showProblem();
    void openCalendar();

    QLineEdit* edit_;
    QToolButton* calendar_;
    QLabel* problem_;
    QDate date_;
    QDate minimum_{1900, 1, 1};
    QDate maximum_{9999, 12, 31};
};

} // namespace kv
