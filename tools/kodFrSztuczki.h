#pragma once

#include <QFrame>
#include <QStringList>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The "Sztuczki" page: articles that come with the program, each an HTML document in its own
// folder, opened or printed by the system's handler, and a text of practical tricks.
class TFrSztuczki : public QFrame
{
public:
    explicit TFrSztuczki(QWidget* parent = nullptr);

    // The page's part of the start-up state reader.
    void LoadState();

    QLabel* Label1;
    QComboBox* Arty;
    QPushButton* Button3;
    QPushButton* Button2;
    QLabel* Label2;
    QPlainTextEdit* Memo1;

    void Button3Click();
    void Button2Click();

private:
    // The working folder of the chosen article's document.
    QString ArticleFolder() const;
};

// The article names as the list keeps them: in Polish alphabetical order, letter case aside.
QStringList SortedArticles(QStringList names);
