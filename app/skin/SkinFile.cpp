#include "app/skin/SkinFile.h"

#include <QStringList>
#include <map>

#include "app/skin/SkinIcons.h"

namespace orlisk {

namespace {

class LineError {
 public:
  LineError(const QString& source, int line) : source_(source), line_(line) {}
  [[noreturn]] void raise(const QString& what) const {
    throw SkinError(QStringLiteral("%1 line %2: %3").arg(source_).arg(line_).arg(what).toStdString());
  }

 private:
  const QString& source_;
  int line_;
};

const std::map<QString, SkinKind>& Kinds() {
  static const std::map<QString, SkinKind> kinds{
      {"form", SkinKind::Form},   {"panel", SkinKind::Panel},         {"button", SkinKind::Button},
      {"text", SkinKind::Text},   {"scrollbar", SkinKind::Scrollbar}, {"image", SkinKind::Image},
      {"label", SkinKind::Label}};
  return kinds;
}

QString Unquote(const QString& value) {
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) return value.mid(1, value.size() - 2);
  return value;
}

QColor ParseColour(const QString& value, const LineError& err) {
  static const QString hexDigits = QStringLiteral("0123456789abcdefABCDEF");
  const bool hex = (value.size() == 7 || value.size() == 9) && value.startsWith('#') &&
                   std::all_of(value.begin() + 1, value.end(), [](QChar c) { return hexDigits.contains(c); });
  if (!hex) err.raise(QStringLiteral("colour '%1' is not #rrggbb or #aarrggbb").arg(value));
  return QColor(value);
}

int ParseNumber(const QString& value, int min, int max, const LineError& err) {
  bool ok = false;
  const QString digits = value.trimmed();
  const int number = digits.toInt(&ok);
  if (!ok || number < min || number > max)
    err.raise(QStringLiteral("'%1' is not a number from %2 to %3").arg(digits).arg(min).arg(max));
  return number;
}

QRect ParseRect(const QString& value, const LineError& err) {
  const QStringList parts = value.split(',');
  if (parts.size() != 4) err.raise(QStringLiteral("rect '%1' needs left, top, width, height").arg(value));
  return QRect(ParseNumber(parts[0], -10000, 10000, err), ParseNumber(parts[1], -10000, 10000, err),
               ParseNumber(parts[2], 0, 10000, err), ParseNumber(parts[3], 0, 10000, err));
}

bool ParseYesNo(const QString& value, const LineError& err) {
  if (value == "yes") return true;
  if (value == "no") return false;
  err.raise(QStringLiteral("'%1' is not yes or no").arg(value));
}

SkinAlign ParseAlign(const QString& value, const LineError& err) {
  if (value == "left") return SkinAlign::Left;
  if (value == "center") return SkinAlign::Center;
  if (value == "right") return SkinAlign::Right;
  err.raise(QStringLiteral("unknown alignment '%1'").arg(value));
}

void SetProperty(SkinObjectData& object, const QString& key, const QString& value, const LineError& err) {
  if (key == "kind") {
    const auto kind = Kinds().find(value);
    if (kind == Kinds().end()) err.raise(QStringLiteral("unknown kind '%1'").arg(value));
    object.kind = kind->second;
  } else if (key == "rect") {
    object.rect = ParseRect(value, err);
  } else if (key == "caption") {
    object.text = Unquote(value);
  } else if (key == "color") {
    object.color = ParseColour(value, err);
  } else if (key == "color2") {
    object.color2 = ParseColour(value, err);
  } else if (key == "hover") {
    object.hover = ParseColour(value, err);
  } else if (key == "pressed") {
    object.pressed = ParseColour(value, err);
  } else if (key == "text") {
    object.textColor = ParseColour(value, err);
  } else if (key == "border") {
    object.border = ParseColour(value, err);
  } else if (key == "accent") {
    object.accent = ParseColour(value, err);
  } else if (key == "radius") {
    object.radius = ParseNumber(value, 0, 1000, err);
  } else if (key == "fontsize") {
    object.fontSize = ParseNumber(value, 4, 200, err);
  } else if (key == "bold") {
    object.bold = ParseYesNo(value, err);
  } else if (key == "family") {
    object.family = Unquote(value);
  } else if (key == "align") {
    object.align = ParseAlign(value, err);
  } else if (key == "icon") {
    if (!IsSkinIcon(value)) err.raise(QStringLiteral("unknown icon '%1'").arg(value));
    object.icon = value;
  } else if (key == "picture") {
    object.picture = Unquote(value);
  } else if (key == "visible") {
    object.visible = ParseYesNo(value, err);
  } else if (key == "hint") {
    object.hint = Unquote(value);
  } else if (key == "active") {
    object.active = ParseColour(value, err);
  } else {
    err.raise(QStringLiteral("unknown property '%1'").arg(key));
  }
}

}  // namespace

SkinObjectData* SkinDocument::find(const QString& name) {
  for (auto& object : objects)
    if (object.name == name) return &object;
  return nullptr;
}

const SkinObjectData& SkinDocument::form() const {
  for (const auto& object : objects)
    if (object.kind == SkinKind::Form) return object;
  throw SkinError("skin has no form object");  // ParseSkin never lets this happen
}

SkinDocument ParseSkin(const QString& text, const QString& sourceName) {
  SkinDocument document;
  std::map<QString, bool> seenKeys;  // of the current object
  bool kindGiven = false, rectGiven = false;
  int formCount = 0;

  const auto finishObject = [&]() {
    if (document.objects.empty()) return;
    const SkinObjectData& object = document.objects.back();
    const LineError err(sourceName, object.line);
    if (!kindGiven) err.raise(QStringLiteral("object '%1' has no kind").arg(object.name));
    if (!rectGiven) err.raise(QStringLiteral("object '%1' has no rect").arg(object.name));
    if (object.kind == SkinKind::Form && ++formCount > 1)
      err.raise(QStringLiteral("second form object '%1'").arg(object.name));
  };

  // A byte-order mark some editors put in front of UTF-8 is not part of the first line.
  const QStringList lines = (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split('\n');
  for (int index = 0; index < lines.size(); ++index) {
    const LineError err(sourceName, index + 1);
    const QString line = lines[index].trimmed();
    if (line.isEmpty() || line.startsWith('#') || line.startsWith(';')) continue;

    if (line.startsWith('[')) {
      if (!line.endsWith(']')) err.raise(QStringLiteral("object header '%1' lacks ']'").arg(line));
      const QString name = line.mid(1, line.size() - 2).trimmed();
      if (name.isEmpty()) err.raise(QStringLiteral("object without a name"));
      finishObject();
      if (document.find(name)) err.raise(QStringLiteral("second object named '%1'").arg(name));
      SkinObjectData object;
      object.name = name;
      object.line = index + 1;
      document.objects.push_back(std::move(object));
      seenKeys.clear();
      kindGiven = rectGiven = false;
      continue;
    }

    const qsizetype equals = line.indexOf('=');
    if (equals < 0) err.raise(QStringLiteral("'%1' is not 'key = value'").arg(line));
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (document.objects.empty()) err.raise(QStringLiteral("'%1' outside an object").arg(key));
    if (seenKeys[key]) err.raise(QStringLiteral("'%1' given twice").arg(key));
    seenKeys[key] = true;
    SetProperty(document.objects.back(), key, value, err);
    kindGiven = kindGiven || key == "kind";
    rectGiven = rectGiven || key == "rect";
  }
  finishObject();
  if (formCount == 0) throw SkinError(QStringLiteral("%1: no form object").arg(sourceName).toStdString());
  return document;
}

}  // namespace orlisk
