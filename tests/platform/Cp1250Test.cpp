#include "Cp1250.h"

#include <gtest/gtest.h>

TEST(Cp1250, PolishLettersBothWays)
{
    const QString polish = QStringLiteral("ĄĆĘŁŃÓŚŹŻąćęłńóśźż");
    const QByteArray bytes =
        "\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf\xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf";
    EXPECT_EQ(ToCp1250(polish), bytes);
    EXPECT_EQ(FromCp1250(bytes), polish);
}

TEST(Cp1250, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(ToCp1250(FromCp1250(all)), all);
    EXPECT_EQ(FromCp1250("\x81\x83\x88\x90\x98"),
              QString::fromUtf16(u"\u0081\u0083\u0088\u0090\u0098"));
}

TEST(Cp1250, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(ToCp1250(QStringLiteral("a€b日")), QByteArray("a\x80"
                                                            "b?"));
}
