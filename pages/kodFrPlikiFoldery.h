#pragma once

#include <QFrame>

// The frame of the "Pliki i foldery" page.
class TFrPlikiFoldery : public QFrame
{
public:
    explicit TFrPlikiFoldery(QWidget* parent = nullptr);
};
