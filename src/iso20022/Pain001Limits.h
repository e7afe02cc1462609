#pragma once

#include <QtGlobal>

// The lengths, in characters (UTF-16 units, as QString counts them), that pain.001.001.09 allows
// in the text fields this program fills. The writer cuts to them, the commands shape their
// values by them and the checks name them.
struct TPain001Limits {
  TPain001Limits() = delete;

  static constexpr qsizetype StrtNm = 70;
  static constexpr qsizetype TwnNm = 35;
  static constexpr qsizetype EndToEndId = 35;
  static constexpr qsizetype Ustrd = 140;
};
