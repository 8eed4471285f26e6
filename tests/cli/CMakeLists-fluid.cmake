# SPDX-License-Identifier: GPL-3.0-or-later
# darvenix-cli fluid: exit codes, messages, the text and the JSON form.
set(fluid_check ${CMAKE_CURRENT_SOURCE_DIR}/fluid_cli_check.cmake)
set(fluid_json_keys "version|units|liquid|warnings")

# fluid_cli_test(NAME ARGS <a|b|c> EXIT <code> [more -D settings ...])
function(fluid_cli_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ARGS;EXIT" "SETTINGS")
  add_test(NAME cli_fluid_${name}
    COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:darvenix-cli> "-DARGS=${arg_ARGS}"
            -DEXIT=${arg_EXIT} ${arg_SETTINGS} -P ${fluid_check})
endfunction()

# Bad arguments: usage on stderr, exit 2.
fluid_cli_test(bad_code ARGS "fluid|--liquid|14|--t|20" EXIT 2
  SETTINGS "-DSTDERR_REGEX=^darvenix-cli: --liquid: '14' is neither a code 0 to 13 nor a name")
fluid_cli_test(negative_code ARGS "fluid|--liquid|-1|--t|20" EXIT 2)
fluid_cli_test(bad_temperature ARGS "fluid|--liquid|0|--t|abc" EXIT 2
  SETTINGS "-DSTDERR_REGEX='abc' is not a number")
fluid_cli_test(nan_temperature ARGS "fluid|--liquid|0|--t|nan" EXIT 2)
fluid_cli_test(missing_temperature ARGS "fluid|--liquid|0" EXIT 2)
fluid_cli_test(bad_additive ARGS "fluid|--liquid|0|--t|20|--additive|4|--volume|0.3" EXIT 2)
fluid_cli_test(bad_volume ARGS "fluid|--liquid|0|--t|20|--additive|1|--volume|1.5" EXIT 2)
fluid_cli_test(short_user_list ARGS "fluid|--liquid|0|--t|20|--user|1000,4.2,0.001" EXIT 2)
fluid_cli_test(bad_user_value ARGS "fluid|--liquid|0|--t|20|--user|1000,4.2,x,0.0006" EXIT 2)
fluid_cli_test(zero_user_conductivity ARGS "fluid|--liquid|0|--t|20|--user|1000,4.2,0.001,0" EXIT 2)
fluid_cli_test(unknown_option ARGS "fluid|--liquid|0|--t|20|--colour|red" EXIT 2)

# A failed evaluation: the error on stderr, exit 4, nothing on stdout.
fluid_cli_test(steam_below_pole ARGS "fluid|--liquid|12|--t|-50" EXIT 4
  SETTINGS "-DSTDERR_REGEX=cannot be evaluated at -50" "-DSTDOUT_REGEX=^$")
fluid_cli_test(mixture_overflow ARGS "fluid|--liquid|0|--t|1e6|--additive|1|--volume|0.3" EXIT 4
  SETTINGS "-DSTDERR_REGEX=overflow")

# The text form, one "name = value" per line.
fluid_cli_test(text_ammonia ARGS "fluid|--liquid|8|--t|0" EXIT 0
  SETTINGS "-DSTDOUT_REGEX=caption = Liquid Ammonia\nshortCaption = Liq NH3\ndescription = Liquid Ammonia 0.0\nt = 0\nro = 637.7\nCp = 4.6275455\nmu = 0.000239254[0-9]*\nKo = 0.000538138[0-9]*\nPr = [0-9.]+\nValidTMin = -50\nValidTMax = 50\nRangeStatus = 0\n$")

# The JSON form: the document's four members, the liquid's values in the
# shortest round-trip form, escaped texts.
fluid_cli_test(json_water ARGS "fluid|--liquid|0|--t|20|--json" EXIT 0
  SETTINGS "-DJSON_KEYS=${fluid_json_keys}"
           "-DJSON_STRINGS=liquid.caption=Clean Water|liquid.shortCaption=Clean Water|liquid.description=Clean Water 20.0|units.mu=Pa s"
           "-DSTDOUT_REGEX=\"ro\":998\\.047[0-9]*,\"Cp\":4\\.183[0-9]*,\"mu\":0\\.00099989[0-9]*,.*\"rangeStatus\":0},\"warnings\":\\[\\]}")
fluid_cli_test(json_mixture_out_of_range ARGS "fluid|--liquid|0|--t|-35|--additive|2|--volume|0.3|--json" EXIT 0
  SETTINGS "-DJSON_KEYS=${fluid_json_keys}"
           "-DJSON_STRINGS=liquid.caption=Water (30% Propylene Glycol)|liquid.shortCaption=30% Prop-Glycol|warnings.0.code=temperatureOutOfRange"
           "-DSTDOUT_REGEX=\"validTMin\":-30\\.0,\"validTMax\":300\\.0,\"rangeStatus\":1}"
           "-DSTDERR_REGEX=warning: -35 °C is outside the valid range of Water \\(30% Propylene Glycol\\) \\(-30 to 300 °C\\)")
fluid_cli_test(json_user ARGS "fluid|--liquid|3|--t|20|--user|1100,3.5,0.004,0.0005|--json" EXIT 0
  SETTINGS "-DJSON_KEYS=${fluid_json_keys}"
           "-DJSON_STRINGS=liquid.caption=User Specified Fluid|liquid.shortCaption=User Spec. Fluid"
           "-DSTDOUT_REGEX=\"ro\":1100\\.0,\"Cp\":3\\.5,\"mu\":0\\.004,\"Ko\":0\\.0005,\"Pr\":28[,.]")
