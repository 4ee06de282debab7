// What the engine found, in the user's words: a ticket that did not read and
// the verdicts of the backtest. The engine returns plain figures and typed
// outcomes; the windows that show them say them with these.
#pragma once

#include <string>

#include "engine/backtest.h"
#include "engine/tickets.h"

namespace dlt::gui {

// The tier's name, "一等奖" .. "九等奖"; empty for no tier.
std::string_view tierName(int number);

// What is wrong with a ticket that did not read, as one sentence.
std::string ticketProblemText(const TicketRead& read);

// The sentence of verdict for a finished walk.
std::string backtestVerdict(const BacktestResult& result);

// The sentence of verdict in money under one pool column; it names the
// column when the walk counted seven-tier draws.
std::string moneyVerdict(const BacktestMoney& money, PrizePool pool);

// What was counted apart, said plainly.
std::string moneyNotes(const BacktestMoney& money);

} // namespace dlt::gui
