"""tavimor.dask on a distributed cluster of two worker processes, against one process."""

import numpy as np
import pytest

import tavimor

REASON = "needs Dask, distributed and pandas (python3-dask, python3-distributed, python3-pandas)"
pd = pytest.importorskip("pandas", reason=REASON)
dd = pytest.importorskip("dask.dataframe", reason=REASON)
distributed = pytest.importorskip("distributed", reason=REASON)


# distributed's own use of tornado, not ours.
@pytest.mark.filterwarnings("ignore:make_current is deprecated:DeprecationWarning")
def test_cluster_converts_columns_as_one_process_does():
    rng = np.random.default_rng(13)
    rows = 200_000
    frame = pd.DataFrame({"ppmv": rng.uniform(0, 150_000, rows),
                          "lbs": rng.uniform(0, 6_000, rows)})
    frame.iloc[::997, 0] = np.nan
    astm = tavimor.Settings("lb-mmscf", "dfp-f", gas_method="astm", measured=50,
                            measured_unit="psig")
    expected_dp = tavimor.convert(frame["ppmv"], "ppmv", "dp-c", formula="sonntag")
    expected_frost = astm.convert(frame["lbs"])

    ddf = dd.from_pandas(frame, npartitions=8)
    ddf = ddf.assign(
        dp=tavimor.dask.convert_column(ddf, "ppmv", "ppmv", "dp-c", formula="sonntag"),
        frost=tavimor.dask.convert_column(ddf, "lbs", settings=astm))
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        assert len(client.scheduler_info()["workers"]) == 2
        result = client.compute(ddf).result()

    assert ddf.npartitions == 8 and len(result) == rows
    for column, expected in (("dp", expected_dp), ("frost", expected_frost)):
        got = result[column].to_numpy()
        assert got.dtype == np.float64
        assert np.array_equal(got.view(np.int64), expected.view(np.int64)), column
    assert np.isnan(result["dp"].iloc[0]) and np.isfinite(result["dp"]).sum() > rows // 2
