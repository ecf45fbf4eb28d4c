#include "dialogs/picture_texts.h"

#include <iterator>

#include "res/resource.h"
#include "res/resources.h"

namespace kelvora {
namespace {

using results::PictureTexts;

// Which string fills which word; one more word is one more row.
constexpr struct {
  int id;
  QString PictureTexts::*field;
} kPictureWords[] = {
    {IDS_PICTURE_STAIRCASE_TITLE, &PictureTexts::staircaseTitle},
    {IDS_PICTURE_SESSIONS_TITLE, &PictureTexts::sessionsTitle},
    {IDS_PICTURE_NO_CHECKS, &PictureTexts::noChecks},
    {IDS_PICTURE_NO_SESSIONS, &PictureTexts::noSessions},
    {IDS_PICTURE_HZ, &PictureTexts::hz},
    {IDS_PICTURE_RECORD_LINE, &PictureTexts::recordLine},
    {IDS_PICTURE_RIGHT, &PictureTexts::right},
    {IDS_PICTURE_WRONG, &PictureTexts::wrong},
    {IDS_PICTURE_CONFIRMING, &PictureTexts::confirming},
    {IDS_PICTURE_LEVEL_CONFIRMED, &PictureTexts::levelConfirmed},
    {IDS_PICTURE_LEVEL_FAILED, &PictureTexts::levelFailed},
    {IDS_PICTURE_BOTH_EARS, &PictureTexts::bothEars},
    {IDS_PICTURE_LEFT_EAR, &PictureTexts::leftEar},
    {IDS_PICTURE_RIGHT_EAR, &PictureTexts::rightEar},
    {IDS_PICTURE_RECORD, &PictureTexts::record},
    {IDS_PICTURE_CONFIRMED, &PictureTexts::confirmed},
};
// A word added to PictureTexts without its row here would stay empty.
static_assert(std::size(kPictureWords) * sizeof(QString) == sizeof(PictureTexts));

}  // namespace

PictureTexts LoadPictureTexts(const std::function<QString(int id)>& load) {
  PictureTexts texts;
  for (const auto& word : kPictureWords) texts.*word.field = load(word.id);
  return texts;
}

const PictureTexts& ResultsPictureTexts() {
  static const PictureTexts texts = LoadPictureTexts(res::LoadString);
  return texts;
}

}  // namespace kelvora
