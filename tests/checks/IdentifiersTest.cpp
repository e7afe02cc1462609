#include "TestSupport.h"
#include "checks/Identifiers.h"

namespace {

struct TAccountCase {
  const char *Account;
  TAccountProblem Problem;
};

class AccountProblemOf : public ::testing::TestWithParam<TAccountCase> {};

TEST_P(AccountProblemOf, TellsARightNumberFromATypoAndFromNoNumberAtAll) {
  EXPECT_EQ(AccountProblem(QString::fromUtf8(GetParam().Account)), GetParam().Problem) << GetParam().Account;
}

INSTANTIATE_TEST_SUITE_P(Cases, AccountProblemOf,
                         ::testing::Values(TAccountCase{"PL61109010140000071219812874", TAccountProblem::None},
                                           // A Polish number without its country code, as VideoTel files write it.
                                           TAccountCase{"61109010140000071219812874", TAccountProblem::None},
                                           TAccountCase{"DE89370400440532013000", TAccountProblem::None},
                                           TAccountCase{"GB82WEST12345698765432", TAccountProblem::None},
                                           // Wrong check digits, one wrong digit in the number, two digits swapped.
                                           TAccountCase{"PL62109010140000071219812874", TAccountProblem::CheckDigits},
                                           TAccountCase{"PL61109010140000071219812875", TAccountProblem::CheckDigits},
                                           TAccountCase{"PL61109010140000071219818274", TAccountProblem::CheckDigits},
                                           TAccountCase{"61109010140000071219812875", TAccountProblem::CheckDigits},
                                           TAccountCase{"DE89370400440532013001", TAccountProblem::CheckDigits},
                                           // What the invoice reader lets through, and other forms no bank takes.
                                           TAccountCase{"PLX", TAccountProblem::NotIban},
                                           TAccountCase{"PL6110901014000007121981287", TAccountProblem::NotIban},
                                           TAccountCase{"PL611090101400000712198128740", TAccountProblem::NotIban},
                                           TAccountCase{"PL61 1090 1014 0000 0712 1981 2874", TAccountProblem::NotIban},
                                           TAccountCase{"pl61109010140000071219812874", TAccountProblem::NotIban},
                                           TAccountCase{"PL61-1090-1014-0000-0712-1981-2874", TAccountProblem::NotIban},
                                           TAccountCase{"DE8937040044", TAccountProblem::NotIban},
                                           TAccountCase{"", TAccountProblem::NotIban}));

struct TTextCase {
  const char *Text;
  bool Valid;
};

class NipCheck : public ::testing::TestWithParam<TTextCase> {};

TEST_P(NipCheck, WeighsTheFirstNineDigitsModuloEleven) {
  EXPECT_EQ(IsValidNip(QString::fromUtf8(GetParam().Text)), GetParam().Valid) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Cases, NipCheck,
                         ::testing::Values(TTextCase{"6772314552", true}, TTextCase{"5261040828", true},
                                           TTextCase{"8943001230", true}, TTextCase{"6772314553", false},
                                           TTextCase{"6772314525", false},
                                           // The weights give a remainder of ten: no digit can check it.
                                           TTextCase{"0000000030", false}, TTextCase{"677231455", false},
                                           TTextCase{"67723145520", false}, TTextCase{"677-231-45-52", false},
                                           TTextCase{"PL6772314552", false}, TTextCase{"", false}));

class BicForm : public ::testing::TestWithParam<TTextCase> {};

TEST_P(BicForm, IsEightOrElevenCharactersWithTheCountryInTheMiddle) {
  EXPECT_EQ(IsBicForm(QString::fromUtf8(GetParam().Text)), GetParam().Valid) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Cases, BicForm,
                         ::testing::Values(TTextCase{"BREXPLPW", true}, TTextCase{"BREXPLPWXXX", true},
                                           TTextCase{"PKOPPLPW", true}, TTextCase{"1234PLP1", true},
                                           TTextCase{"BREXPLP", false}, TTextCase{"BREXPLPWXX", false},
                                           TTextCase{"BREXPLPWXXXX", false}, TTextCase{"brexplpw", false},
                                           TTextCase{"BREX12PW", false}, TTextCase{"BREX PLPW", false},
                                           TTextCase{"", false}));

} // namespace
