# Writes the Debian changelog of the package, gzipped, from CHANGELOG.md.
# cmake -DSOURCE=CHANGELOG.md -DOUTPUT=changelog.gz -DVERSION=1.19 -DMAINTAINER="Name <address>"
#       -P DebianChangelog.cmake
#
# CHANGELOG.md has a heading "## VERSION (YYYY-MM-DD)" per version, newest first, and one
# "- " line per change; each version becomes one entry of the Debian format, its lines
# wrapped to 80 columns. The newest version must be the one being packaged.

file(STRINGS "${SOURCE}" lines ENCODING UTF-8)

# Appends `text` as a change: "  * " before its first line, four blanks before the others.
function(append_change text)
  # A semicolon would separate list items: it travels as a placeholder.
  string(REPLACE ";" "@SEMICOLON@" text "${text}")
  string(REGEX REPLACE "[ \t]+" ";" words "${text}")
  set(line "  *")
  foreach(word IN LISTS words)
    string(REPLACE "@SEMICOLON@" ";" shown "${line} ${word}")
    string(LENGTH "${shown}" length)
    if(length GREATER 80 AND NOT line MATCHES "^ +\\*?$")
      string(APPEND changelog "${line}\n")
      set(line "   ")
    endif()
    string(APPEND line " ${word}")
  endforeach()
  string(APPEND changelog "${line}\n")
  string(REPLACE "@SEMICOLON@" ";" changelog "${changelog}")
  set(changelog "${changelog}" PARENT_SCOPE)
endfunction()

# Closes the entry of the version before: its signature with the date of that version.
function(append_signature date)
  execute_process(COMMAND date -u -R -d "${date} 12:00" OUTPUT_VARIABLE stamp
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(APPEND changelog "\n -- ${MAINTAINER}  ${stamp}\n")
  set(changelog "${changelog}" PARENT_SCOPE)
endfunction()

set(changelog "")
set(date "")
foreach(line IN LISTS lines)
  if(line MATCHES "^## ([^ ]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
    if(date)
      append_signature("${date}")
      string(APPEND changelog "\n")
    elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
      message(FATAL_ERROR "${SOURCE} begins with version ${CMAKE_MATCH_1}, not ${VERSION}")
    endif()
    set(date "${CMAKE_MATCH_2}")
    string(APPEND changelog "pavena (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
  elseif(date AND line MATCHES "^- (.+)$")
    append_change("${CMAKE_MATCH_1}")
  endif()
endforeach()
if(NOT date)
  message(FATAL_ERROR "${SOURCE} holds no version heading")
endif()
append_signature("${date}")

string(REGEX REPLACE "\\.gz$" "" plain "${OUTPUT}")
file(WRITE "${plain}" "${changelog}")
# -n: no name or time in the gzip header, so that the same changelog gives the same bytes.
execute_process(COMMAND gzip -9nc "${plain}" OUTPUT_FILE "${OUTPUT}" COMMAND_ERROR_IS_FATAL ANY)
