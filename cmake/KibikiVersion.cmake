# KIBIKI_VERSION: the program's and the package's version; KIBIKI_COMMIT and KIBIKI_DATE /
# KIBIKI_DATE_RFC2822: the commit it was built from and that commit's date (the build's date
# without git), for the package's changelog, metainfo and man page.
#   tag v1.2 on HEAD        -> 1.2
#   3 commits after v1.2    -> 1.2+git3.gabc1234
#   no tag                  -> PROJECT_VERSION+gitN.gabc1234 (N = commits on HEAD)
#   no git (a source tarball) -> PROJECT_VERSION
# The count grows with every commit, so package versions sort in commit order. No "-" ever appears:
# Debian reads one as the start of a packaging revision.
set(KIBIKI_VERSION ${PROJECT_VERSION})
set(KIBIKI_COMMIT unknown)
string(TIMESTAMP KIBIKI_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP KIBIKI_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-dir
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE _kibiki_git_dir OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE _kibiki_git_rc ERROR_QUIET)
endif()
if(GIT_FOUND AND _kibiki_git_rc EQUAL 0)
  get_filename_component(_kibiki_git_dir ${_kibiki_git_dir} ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
  execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --match "v[0-9]*" --long --abbrev=7
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE _kibiki_describe OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE _kibiki_rc ERROR_QUIET)
  if(_kibiki_rc EQUAL 0 AND _kibiki_describe MATCHES "^v([0-9][0-9A-Za-z.~]*)-([0-9]+)-(g[0-9a-f]+)$")
    set(KIBIKI_VERSION ${CMAKE_MATCH_1})
    if(NOT CMAKE_MATCH_2 EQUAL 0)
      string(APPEND KIBIKI_VERSION "+git${CMAKE_MATCH_2}.${CMAKE_MATCH_3}")
    endif()
  else()
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE _kibiki_count OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --short=7 HEAD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE _kibiki_hash OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(_kibiki_count MATCHES "^[0-9]+$" AND _kibiki_hash MATCHES "^[0-9a-f]+$")
      set(KIBIKI_VERSION "${PROJECT_VERSION}+git${_kibiki_count}.g${_kibiki_hash}")
    endif()
  endif()
  execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%H%n%cs%n%cD
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE _kibiki_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(_kibiki_log MATCHES "^([0-9a-f]+)\n([0-9-]+)\n(.+)$")
    set(KIBIKI_COMMIT ${CMAKE_MATCH_1})
    set(KIBIKI_DATE ${CMAKE_MATCH_2})
    set(KIBIKI_DATE_RFC2822 ${CMAKE_MATCH_3})
  endif()
  # A commit or checkout configures again, so the version never goes stale.
  if(EXISTS ${_kibiki_git_dir}/logs/HEAD)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${_kibiki_git_dir}/logs/HEAD)
  endif()
endif()
message(STATUS "Kibiki version ${KIBIKI_VERSION}")
