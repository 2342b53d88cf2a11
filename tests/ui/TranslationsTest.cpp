// The window's German and French catalogues, as translators hand them in:
// each holds every text the window looks up, translated whole, with the
// same placeholders, one Alt letter where the English has one and the same
// key name after a tab.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <map>
#include <set>

namespace quillo {
namespace {

QString SourceDir() { return QStringLiteral(QUILLO_CATALOGUE_DIR "/../.."); }

struct Message {
  QString translation;
  QString type;  // "unfinished", "vanished", "obsolete" or empty
};

// The messages of `file` by their English text; "" of `problem` when it reads.
std::map<QString, Message> ReadCatalogue(const QString& file, QString& problem) {
  std::map<QString, Message> messages;
  QFile input(file);
  if (!input.open(QIODevice::ReadOnly)) {
    problem = input.errorString();
    return messages;
  }
  QXmlStreamReader xml(&input);
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) {
      source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      Message message;
      message.type = xml.attributes().value(QLatin1String("type")).toString();
      message.translation = xml.readElementText();
      if (!messages.emplace(source, message).second) problem += "twice: " + source + "\n";
    }
  }
  if (xml.hasError()) problem += xml.errorString();
  return messages;
}

// What a translation must keep of its English text.
QString Skeleton(const QString& text) {
  QStringList parts;
  QRegularExpression placeholder(QStringLiteral("%\\d"));
  for (auto match = placeholder.globalMatch(text); match.hasNext();)
    parts << match.next().captured();
  parts.sort();
  QString plain = text;
  plain.remove(QStringLiteral("&&"));
  parts << QStringLiteral("alt letters: %1").arg(plain.count(u'&'));
  parts << QStringLiteral("key: %1").arg(text.contains(u'\t'));
  return parts.join(u' ');
}

// The texts the window's code hands to Tr() directly, adjacent literals
// joined.
std::set<QString> TextsInTheCode() {
  std::set<QString> texts;
  const QDir ui(SourceDir() + QStringLiteral("/ui"));
  const QRegularExpression call(QStringLiteral(R"re(\bTr\(((?:\s*"(?:[^"\\]|\\.)*")+)\s*\))re"));
  const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
  for (const QString& name : ui.entryList({QStringLiteral("*.cpp"), QStringLiteral("*.h")})) {
    QFile file(ui.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QString code = QString::fromUtf8(file.readAll());
    for (auto match = call.globalMatch(code); match.hasNext();) {
      QString text;
      const QString literals = match.next().captured(1);
      for (auto part = literal.globalMatch(literals); part.hasNext();)
        text += part.next().captured(1);
      text.replace(QStringLiteral("\\n"), QStringLiteral("\n"))
          .replace(QStringLiteral("\\t"), QStringLiteral("\t"))
          .replace(QStringLiteral("\\\""), QStringLiteral("\""));
      texts.insert(text);
    }
  }
  return texts;
}

TEST(TranslationsTest, EveryCatalogueIsCompleteAndKeepsPlaceholdersAndAltLetters) {
  const std::set<QString> inCode = TextsInTheCode();
  ASSERT_GT(inCode.size(), 20u);
  std::set<QString> firstSources;
  for (const char* language : {"de", "fr"}) {
    SCOPED_TRACE(language);
    QString problem;
    const auto messages = ReadCatalogue(
        QStringLiteral(QUILLO_CATALOGUE_DIR "/quillo_%1.ts").arg(QLatin1String(language)), problem);
    EXPECT_EQ(problem.toStdString(), "");
    std::set<QString> sources;
    for (const auto& [source, message] : messages) {
      sources.insert(source);
      SCOPED_TRACE(source.toStdString());
      EXPECT_EQ(message.type.toStdString(), "");
      EXPECT_FALSE(message.translation.isEmpty());
      EXPECT_EQ(Skeleton(message.translation).toStdString(), Skeleton(source).toStdString());
    }
    for (const QString& text : inCode)
      EXPECT_TRUE(sources.count(text)) << "not translated: " << text.toStdString();
    // Both languages translate the same texts.
    if (firstSources.empty())
      firstSources = sources;
    else
      EXPECT_TRUE(sources == firstSources);
  }
}

}  // namespace
}  // namespace quillo
