package tarvexjni;

import Norv1.LocalIface;
import java.io.CharConversionException;

/**
 * A call of {@link LocalIface} that {@link Tarvex#call(String, LibraryCall)} runs in a context:
 * it receives the {@code LocalIface} that holds the context and returns the call's status. It
 * may throw the checked exceptions that {@code LocalIface}'s methods declare, so that a lambda
 * can make any call of it:
 *
 * <pre>{@code
 * tarvex.call("TspBlkUrlStampCmsMem", lib -> LocalIface.QUMENJNI_TspBlkUrlStampCmsMem(
 *     lib, new LocalIface.tsp_request_param_t(), url, new LocalIface.mem_blk_t(signed), stamped));
 * }</pre>
 *
 * <p>{@code Tarvex} turns either into a {@link TarvexException} with status {@link
 * Status#PENDING_EXCEPTION} and the exception as its cause, as it does for every exception the
 * bridge raises.
 */
@FunctionalInterface
public interface LibraryCall {
  /**
   * Makes the call.
   *
   * @param lib the {@code LocalIface} that holds the context; only for the length of the call
   * @return the status the call returned
   * @throws CharConversionException when the bridge cannot convert a text of the call
   * @throws NoSuchFieldException when an object passed for a second handle has no {@code long}
   *     field {@code handle}
   */
  int call(LocalIface lib) throws CharConversionException, NoSuchFieldException;
}
