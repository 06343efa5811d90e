# Installs the pinned npm packages of the browser test into DIR/node_modules with `npm ci`, unless
# they were installed from this very lock file before (npm ci leaves a copy of it there).
# Usage: cmake -DNPM=npm -DDIR=folder -P npm_ci.cmake
set(installed ${DIR}/node_modules/.package-lock.json)
if(EXISTS ${installed} AND NOT ${DIR}/package-lock.json IS_NEWER_THAN ${installed})
    message(STATUS "npm packages are up to date in ${DIR}/node_modules")
    return()
endif()
execute_process(COMMAND ${NPM} ci --no-audit --no-fund --loglevel=error
    WORKING_DIRECTORY ${DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "npm ci failed in ${DIR}: the first run needs the npm registry")
endif()
