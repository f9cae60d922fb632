# arn_win as a Windows user runs it: register the control, take the screenshot, unregister,
# then check the picture.
#   cmake -DWINE=... -DREGSVR32=... -DDLL=... -DHOST=... -DOUT=... -DCHECKER=... -DPYTHON=... -P
foreach(step "${REGSVR32};/s;${DLL}" "${HOST};--screenshot;${OUT}.bmp;--ticks;3"
             "${REGSVR32};/u;/s;${DLL}")
  execute_process(COMMAND ${WINE} ${step} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors TIMEOUT 120)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${step}: ${status}\n${output}${errors}")
  endif()
  if(step MATCHES "--screenshot")
    file(WRITE ${OUT}.txt "${output}")
  endif()
endforeach()
execute_process(COMMAND ${PYTHON} ${CHECKER} ${OUT}.bmp ${OUT}.txt RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the screenshot does not show the panel")
endif()
