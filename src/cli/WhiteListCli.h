#pragma once

#include "CliRequest.h"
#include "app/commands/AppPaths.h"

// Runs biala-lista wczytaj, pobierz or sprawdz and gives the exit status: 0 done (found),
// 1 failed (not found), 2 a malformed NIP or account.
int RunWhiteList(const TCliRequest &request, const TAppPaths &paths);
