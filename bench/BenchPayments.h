#pragma once

#include "model/Payment.h"

// `count` payments as a real batch holds them: each its own invoice number and name, every
// field filled, and all of them passing the checks of a written file.
TPaymentList BenchPayments(qint64 count);
